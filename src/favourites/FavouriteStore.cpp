#include "favourites/FavouriteStore.h"

#include "favourites/FavouriteName.h"
#include "favourites/LinkFile.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A dangling link also holds the name: creating or renaming onto it fails.
bool taken(const QString &path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

} // namespace

FavouriteStore::FavouriteStore(const QString &folder) : m_folder(folder) {}

QString FavouriteStore::folderIn(const QString &programFolder)
{
    return ProgramFolder::join(programFolder, QStringLiteral("likepage"));
}

QString FavouriteStore::homeFileName() { return QStringLiteral("主页.LINK"); }

QString FavouriteStore::pathOf(const QString &fileName) const
{
    return ProgramFolder::join(m_folder, fileName);
}

bool FavouriteStore::ensureFolder() const
{
    if (QFileInfo::exists(m_folder))
        return QFileInfo(m_folder).isDir();
    return QDir().mkpath(m_folder);
}

QStringList FavouriteStore::entries() const
{
    return QDir(m_folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QStringList FavouriteStore::homeSpellings() const
{
    // Name filters match without regard to letter case, as Windows names do.
    return QDir(m_folder).entryList({homeFileName()}, QDir::Files, QDir::Name);
}

QString FavouriteStore::homeFile() const
{
    const QStringList found = homeSpellings();
    if (found.contains(homeFileName()))
        return pathOf(homeFileName());
    if (!found.isEmpty())
        return pathOf(found.first());
    return pathOf(QStringLiteral("主页.link"));
}

bool FavouriteStore::isHomeFile(const QString &path) const
{
    const QFileInfo home(homeFile());
    return home.exists() && QFileInfo(path) == home;
}

std::optional<QString> FavouriteStore::save(const QString &caption, const QString &address) const
{
    if (!ensureFolder())
        return std::nullopt;
    QString name = FavouriteName::fromCaption(caption);
    for (;;) {
        const QString path = pathOf(name + LinkFile::extension());
        if (!taken(path)) {
            if (LinkFile::create(path, address))
                return path;
            // Only a name taken just now by someone else is worth another try.
            if (!taken(path))
                return std::nullopt;
        }
        name += QLatin1Char('#');
    }
}

std::optional<QString> FavouriteStore::find(const QString &address) const
{
    for (const QString &entry : entries()) {
        const LinkReading reading = LinkFile::read(pathOf(entry));
        if (reading.kind == LinkReading::Kind::Address && reading.address == address)
            return pathOf(entry);
    }
    return std::nullopt;
}

std::optional<QString> FavouriteStore::rename(const QString &path,
                                              const std::optional<QString> &answer) const
{
    const QFileInfo current(path);
    if (!answer || answer->isEmpty() || !current.isFile() || *answer == current.fileName())
        return std::nullopt;
    QString name = FavouriteName::fromAnswer(*answer);
    if (name.isEmpty() || name == current.fileName())
        return std::nullopt;
    while (taken(pathOf(name)))
        name += QLatin1Char('#');
    const QString target = pathOf(name);
    if (!QFile::rename(path, target))
        return std::nullopt;
    return target;
}

bool FavouriteStore::remove(const QString &path) const
{
    return !path.isEmpty() && QFileInfo(path).isFile() && QFile::remove(path);
}

bool FavouriteStore::setAsHome(const QString &path) const
{
    if (!QFileInfo(path).isFile() || isHomeFile(path))
        return false;
    QFile source(path);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    const bool readOk = source.error() == QFileDevice::NoError;
    source.close();
    if (!readOk)
        return false;
    // The copy goes to a temporary first and only then takes the home page's name.
    QSaveFile home(pathOf(homeFileName()));
    if (!home.open(QIODevice::WriteOnly) || home.write(bytes) != bytes.size() || !home.commit())
        return false;
    removeOtherHomeSpellings();
    return true;
}

void FavouriteStore::removeOtherHomeSpellings() const
{
    // Where letter case matters, a "主页.link" beside the new "主页.LINK" would be
    // a second, stale home page; where it does not, the listing holds one name
    // and nothing is removed.
    const QStringList found = homeSpellings();
    if (!found.contains(homeFileName()))
        return;
    for (const QString &name : found) {
        if (name != homeFileName())
            QFile::remove(pathOf(name));
    }
}
