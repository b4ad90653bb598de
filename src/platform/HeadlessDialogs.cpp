#include "platform/HeadlessDialogs.h"

#include <cstdio>

void HeadlessDialogs::messageBox(const QString &text, const QString &title, Icon)
{
    const QString line = (title.isEmpty() ? QString() : title + QStringLiteral(": ")) + text + QLatin1Char('\n');
    std::fputs(line.toUtf8().constData(), stderr);
}

bool HeadlessDialogs::question(const QString &text, const QString &title)
{
    // Nobody is there to say no.
    messageBox(text, title, Icon::None);
    return true;
}

std::optional<QString> HeadlessDialogs::inputBox(const QString &, const QString &, const QString &)
{
    return std::nullopt;
}

QString HeadlessDialogs::ChooseFolder(QWidget *, const QString &, const QString &)
{
    return m_folder;
}
