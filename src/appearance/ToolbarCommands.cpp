#include "appearance/ToolbarCommands.h"

#include <array>

ToolbarCommands::ToolbarCommands(Hooks hooks) : m_hooks(std::move(hooks)) {}

void ToolbarCommands::run(int index) const
{
    const std::array<const std::function<void()> *, 8> byIndex = {
        &m_hooks.paste, &m_hooks.copy,     &m_hooks.newPage, &m_hooks.home,
        &m_hooks.favourites, &m_hooks.bookmark, &m_hooks.refresh, &m_hooks.skin,
    };
    if (index < 1 || index > int(byIndex.size()))
        return;
    const std::function<void()> &command = *byIndex[index - 1];
    if (command)
        command();
}
