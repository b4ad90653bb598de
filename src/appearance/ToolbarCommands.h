#pragma once

#include <functional>

// What the eight toolbar buttons do, by button index 1..8. The main window
// fills in the hooks; a hook left empty makes its button do nothing.
class ToolbarCommands
{
public:
    struct Hooks
    {
        std::function<void()> paste;       // 1
        std::function<void()> copy;        // 2
        std::function<void()> newPage;     // 3
        std::function<void()> home;        // 4
        std::function<void()> favourites;  // 5
        std::function<void()> bookmark;    // 6
        std::function<void()> refresh;     // 7
        std::function<void()> skin;        // 8
    };

    explicit ToolbarCommands(Hooks hooks);

    // Any index outside 1..8 does nothing.
    void run(int index) const;

private:
    Hooks m_hooks;
};
