#include "batch/BatchJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>

using namespace Qt::StringLiterals;

const QString BatchJournal::FileName = u"批量采集.json"_s;

namespace {

constexpr qint64 MaxJournalBytes = 64 * 1024 * 1024;

// Item folders are kept relative to the save folder: the folder can be moved
// with its journal, and a journal can never send a download elsewhere.
QString relativeFolder(const QDir &saveFolder, const QString &folder)
{
    return folder.isEmpty() ? QString() : saveFolder.relativeFilePath(folder);
}

QString resolvedFolder(const QDir &saveFolder, const QString &stored)
{
    const QString clean = QDir::cleanPath(stored);
    if (stored.isEmpty() || QDir::isAbsolutePath(clean) || clean == u".."_s || clean.startsWith(u"../"_s)
        || clean == u"."_s)
        return {};
    return saveFolder.filePath(clean);
}

QJsonObject toJson(const BatchRow &row)
{
    return QJsonObject{{u"url"_s, row.url},       {u"title"_s, row.title},
                       {u"state"_s, batchStateKey(row.state)},
                       {u"main"_s, row.mainPics}, {u"sku"_s, row.skuPics},
                       {u"desc"_s, row.descPics}, {u"saved"_s, row.saved},
                       {u"dropped"_s, row.dropped}, {u"failed"_s, row.failed},
                       {u"folder"_s, row.folder}, {u"note"_s, row.note}};
}

bool fromJson(const QJsonObject &object, BatchRow *row)
{
    row->url = object.value(u"url"_s).toString();
    if (row->url.isEmpty() || !batchStateFromKey(object.value(u"state"_s).toString(), &row->state))
        return false;
    row->title = object.value(u"title"_s).toString();
    row->mainPics = object.value(u"main"_s).toInt();
    row->skuPics = object.value(u"sku"_s).toInt();
    row->descPics = object.value(u"desc"_s).toInt();
    row->saved = object.value(u"saved"_s).toInt();
    row->dropped = object.value(u"dropped"_s).toInt();
    row->failed = object.value(u"failed"_s).toInt();
    row->folder = object.value(u"folder"_s).toString();
    row->note = object.value(u"note"_s).toString();
    return true;
}

} // namespace

BatchJournal::BatchJournal(const QString &saveFolder)
    : m_path(QDir(saveFolder).filePath(FileName))
{
}

bool BatchJournal::exists() const
{
    return QFile::exists(m_path);
}

bool BatchJournal::save(const QList<BatchRow> &rows, QString *error) const
{
    QJsonArray array;
    const QDir saveFolder = QFileInfo(m_path).dir();
    for (BatchRow row : rows) {
        row.folder = relativeFolder(saveFolder, row.folder);
        array.append(toJson(row));
    }
    const QByteArray bytes = QJsonDocument(QJsonObject{{u"rows"_s, array}}).toJson(QJsonDocument::Indented);
    QSaveFile file(m_path);
    // A short write on a full disk is not reported by commit(): count the bytes.
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok && error)
        *error = file.errorString();
    return ok;
}

QList<BatchRow> BatchJournal::load(QString *error) const
{
    auto fail = [error](const QString &reason) {
        if (error)
            *error = reason;
        return QList<BatchRow>{};
    };
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    if (file.size() > MaxJournalBytes)
        return fail(u"文件太大"_s);
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(file.read(MaxJournalBytes), &parse);
    if (parse.error != QJsonParseError::NoError || !document.isObject())
        return fail(parse.errorString());
    QList<BatchRow> rows;
    const QDir saveFolder = QFileInfo(m_path).dir();
    for (const QJsonValue &value : document.object().value(u"rows"_s).toArray()) {
        BatchRow row;
        if (fromJson(value.toObject(), &row)) {
            row.folder = resolvedFolder(saveFolder, row.folder);
            rows.append(row);
        }
    }
    return rows;
}

QList<BatchRow> BatchJournal::resume(const QList<BatchRow> &journal, const QStringList &addresses)
{
    QList<BatchRow> rows;
    QSet<QString> known;
    for (BatchRow row : journal) {
        if (known.contains(row.url))
            continue;
        known.insert(row.url);
        if (row.state == BatchState::Done)
            row.state = BatchState::AlreadySaved;
        else if (row.state == BatchState::Picking || row.state == BatchState::Downloading)
            row.state = BatchState::Waiting;
        rows.append(row);
    }
    for (const QString &url : addresses) {
        if (known.contains(url))
            continue;
        known.insert(url);
        BatchRow row;
        row.url = url;
        rows.append(row);
    }
    return rows;
}
