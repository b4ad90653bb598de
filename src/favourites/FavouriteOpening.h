#pragma once

#include <QString>

// What opening a favourite asks of the main window: nothing, the format
// message, or an address to load, in a new tab or in the current page.
struct FavouriteOpening
{
    enum class Action { Nothing, ShowFormatError, Load };

    Action action = Action::Nothing;
    QString message; // ShowFormatError: "文件格式错误。", shown with no title
    QString address; // Load: handed to the browser as it stands
    bool newTab = false; // Load: open a tab with NewP before navigating

    // path: a favourite file (or any file, which is then the address itself);
    // flag: keep the current page; addressBoxText: the address box as it reads now.
    static FavouriteOpening decide(const QString &path, bool flag, const QString &addressBoxText);

    static QString formatErrorMessage();
};
