#pragma once

#include <QString>

// What opening a favourite asks of the main window: nothing, the format
// message, or an address to load, in a new tab or in the current page.
struct FavouriteOpening
{
    enum class Action { Nothing, ShowFormatError, Refuse, Load };

    Action action = Action::Nothing;
    // ShowFormatError: "文件格式错误。"; Refuse: why the address is not
    // opened. Both shown with no title.
    QString message;
    QString address; // Load: an http(s) address, handed to the browser as it stands
    bool newTab = false; // Load: open a tab with NewP before navigating

    // path: a favourite file (or any file, which is then the address itself).
    // Only http(s) is loaded: anything can drop a file into the favourites
    // folder, and a local file or a script must not run in the shop's profile.
    // flag: keep the current page; addressBoxText: the address box as it reads now.
    static FavouriteOpening decide(const QString &path, bool flag, const QString &addressBoxText);

    static QString formatErrorMessage();
};
