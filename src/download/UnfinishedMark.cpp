#include "download/UnfinishedMark.h"

#include "download/SaveLayout.h"
#include "picking/MediaKinds.h"
#include "platform/PlainFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

const QString UnfinishedMark::FileName = u"下载未完成.txt"_s;

namespace {
const QString AddressLabel = u"宝贝地址："_s;
// Numbered folders a mark is looked for in: as many as a user makes of one item by hand.
constexpr int NumberedTries = 20;
constexpr qint64 MaxMarkBytes = 256 * 1024;

QString markPath(const QString &itemFolder)
{
    return itemFolder + u'/' + UnfinishedMark::FileName;
}
}

bool UnfinishedMark::write(const QString &itemFolder, const QString &address, const QStringList &missing)
{
    // Only an empty one goes: rmdir leaves a folder with anything in it.
    for (const MediaKind &kind : MediaKinds::all())
        QDir(itemFolder).rmdir(kind.folder);
    QString text = u"这个宝贝的下载没有完成，目录里的文件不全。\n"_s + AddressLabel + address + u"\n\n缺少：\n"_s;
    for (const QString &line : missing)
        text += line + u'\n';
    text += u"\n重新采集这个宝贝并下载到同一个目录，会在这里补全，然后删去这个文件。\n"_s;
    QFile file;
    if (!PlainFile::openToWrite(file, markPath(itemFolder)))
        return false;
    const QByteArray bytes = text.toUtf8();
    return file.write(bytes) == bytes.size();
}

void UnfinishedMark::remove(const QString &itemFolder)
{
    if (QFileInfo(markPath(itemFolder)).isFile())
        QFile::remove(markPath(itemFolder));
}

bool UnfinishedMark::isIn(const QString &itemFolder)
{
    return QFileInfo(markPath(itemFolder)).isFile();
}

QString UnfinishedMark::folderOf(const QString &folder, const QString &itemName, const QString &address)
{
    if (address.isEmpty())
        return {};
    const QString base = folder + u'/' + ItemName(itemName);
    for (int n = 0; n <= NumberedTries; ++n) {
        const QString candidate = n == 0 ? base : base + QString::number(n);
        QFile file;
        if (!QFileInfo(markPath(candidate)).isFile() || !PlainFile::openToRead(file, markPath(candidate)))
            continue;
        const QString text = QString::fromUtf8(file.read(MaxMarkBytes));
        if (text.contains(u'\n' + AddressLabel + address + u'\n'))
            return candidate;
    }
    return {};
}
