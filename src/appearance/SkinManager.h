#pragma once

#include <QString>

class SkinSettings;

// A skin is a Qt style sheet file in the skins folder; applying one sets it as
// the application's style sheet, so every open window takes the new look at
// once. A file that is not a readable style sheet leaves the default look:
// a half-applied sheet could leave the windows unreadable.
class SkinManager
{
public:
    static const QString FolderName;  // "皮肤", inside the program folder

    explicit SkinManager(const QString &programFolder);

    QString skinsFolder() const { return m_folder; }
    // Both return whether the skin is now in use.
    bool apply(const QString &fileName) const;  // a file of the skins folder
    bool applyFile(const QString &path) const;
    // Start-up: the skin stored under "skin"; nothing stored or the file gone
    // leaves the look as it is.
    bool applyRemembered(const SkinSettings &settings) const;

    static void useDefaultLook();

private:
    QString m_folder;
};
