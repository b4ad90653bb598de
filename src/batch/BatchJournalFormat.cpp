#include "batch/BatchJournalFormat.h"

using namespace Qt::StringLiterals;

namespace {

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

} // namespace

QJsonObject BatchJournalFormat::toJson(const QDir &saveFolder, const BatchRow &row)
{
    QJsonObject object{{u"url"_s, row.url},
                       {u"title"_s, row.title},
                       {u"productTitle"_s, row.productTitle},
                       {u"state"_s, batchStateKey(row.state)},
                       {u"saved"_s, row.saved},
                       {u"dropped"_s, row.dropped},
                       {u"droppedBy"_s, SaveChoice::dropsJson(row.droppedBy)},
                       {u"failed"_s, row.failed},
                       {u"folder"_s, relativeFolder(saveFolder, row.folder)},
                       {u"note"_s, row.note}};
    for (const MediaKind &kind : MediaKinds::all())
        object.insert(kind.key, row.found[kind.id]);
    if (!row.reader.isEmpty())
        object.insert(u"reader"_s, row.reader);
    return object;
}

bool BatchJournalFormat::fromJson(const QDir &saveFolder, const QJsonObject &object, BatchRow *row)
{
    row->url = object.value(u"url"_s).toString();
    if (row->url.isEmpty() || !batchStateFromKey(object.value(u"state"_s).toString(), &row->state))
        return false;
    row->title = object.value(u"title"_s).toString();
    row->productTitle = object.value(u"productTitle"_s).toString();
    // Journals written before a kind was saved have no count of it: 0.
    for (const MediaKind &kind : MediaKinds::all())
        row->found[kind.id] = object.value(kind.key).toInt();
    row->saved = object.value(u"saved"_s).toInt();
    row->dropped = object.value(u"dropped"_s).toInt();
    row->droppedBy = SaveChoice::dropsFromJson(object.value(u"droppedBy"_s).toObject());
    row->failed = object.value(u"failed"_s).toInt();
    row->folder = resolvedFolder(saveFolder, object.value(u"folder"_s).toString());
    row->note = object.value(u"note"_s).toString();
    row->reader = object.value(u"reader"_s).toString();
    return true;
}
