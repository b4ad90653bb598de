#pragma once

#include <QStringList>

class SkinSettings;

// A skin is a Qt style sheet file in the skins folder; applying one sets it as
// the application's style sheet, so every open window takes the new look at
// once. A file that is not a readable style sheet leaves the default look:
// a half-applied sheet could leave the windows unreadable.
class SkinManager
{
public:
    static const QString FolderName;  // "皮肤", inside the program folder

    // `shippedFolder`: the folder the program was installed in, whose skins
    // are offered too when the data lives elsewhere (a read-only install).
    explicit SkinManager(const QString &programFolder, const QString &shippedFolder = QString());

    QString skinsFolder() const { return m_folder; }
    // The skin files of both folders, sorted, each name once.
    QStringList names() const;
    // Where a skin of that name is: the user's own folder first.
    QString pathOf(const QString &fileName) const;
    // Both return whether the skin is now in use.
    bool apply(const QString &fileName) const;  // a file of the skins folders
    bool applyFile(const QString &path) const;
    // Start-up: the skin stored under "skin"; nothing stored or the file gone
    // leaves the look as it is.
    bool applyRemembered(const SkinSettings &settings) const;

    static void useDefaultLook();

private:
    QString m_folder;
    QString m_shipped;  // empty when it is m_folder
};
