#pragma once

#include <QString>
#include <QStringList>

// 下载未完成.txt: what a download that was cut off (the program quit, the
// batch's tab was closed) leaves in its item folder, so that a half-saved
// item never looks whole. It names the item's address and what is missing;
// a later download of the same item into the same place completes the
// folder and takes the mark away.
class UnfinishedMark
{
public:
    static const QString FileName;

    // Writes the mark into `itemFolder`, after removing the kinds' folders
    // that stayed empty. False when the file cannot be written.
    static bool write(const QString &itemFolder, const QString &address, const QStringList &missing);
    static void remove(const QString &itemFolder);
    static bool isIn(const QString &itemFolder);
    // The folder under `folder` named `itemName` (or numbered on, as new
    // items are) that holds the mark of `address`; "" when there is none.
    static QString folderOf(const QString &folder, const QString &itemName, const QString &address);
};
