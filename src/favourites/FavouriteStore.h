#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The favourites folder: every file in it is one favourite, and its listing is
// the list of favourites. Nothing is held between calls.
class FavouriteStore
{
public:
    explicit FavouriteStore(const QString &folder);

    // programFolder + "/likepage".
    static QString folderIn(const QString &programFolder);
    // "主页.LINK", the name the home page is written under.
    static QString homeFileName();

    const QString &folder() const { return m_folder; }
    // folder + "/" + fileName.
    QString pathOf(const QString &fileName) const;

    // Creates the folder unless a file or folder of that name exists.
    bool ensureFolder() const;
    // File names with extension, sorted by name; hidden and special files left out.
    QStringList entries() const;

    // The home-page favourite in whichever letter case its name exists
    // ("主页.LINK" first). Without one, the path "主页.link", which opens nothing.
    QString homeFile() const;
    bool isHomeFile(const QString &path) const;

    // Saves the address under the cleaned caption, with "#" appended until the
    // name is free. The new file's path, or nullopt when nothing could be written.
    std::optional<QString> save(const QString &caption, const QString &address) const;
    // The favourite that already opens `address`, if any.
    std::optional<QString> find(const QString &address) const;

    // Renames the favourite to the cleaned answer ("#" appended until free; the
    // answer is the whole file name). nullopt, with nothing renamed, when the
    // answer is missing, empty, cleans to nothing or names the file unchanged,
    // or when the rename fails.
    std::optional<QString> rename(const QString &path, const std::optional<QString> &answer) const;

    bool remove(const QString &path) const;

    // Makes a copy of the favourite the home page. The old home page is
    // replaced only once the copy is complete; false when the favourite is
    // gone, is the home page itself, or the copy fails.
    bool setAsHome(const QString &path) const;

private:
    QStringList homeSpellings() const;
    void removeOtherHomeSpellings() const;

    QString m_folder;
};
