#include "batch/BatchJournal.h"

#include "batch/BatchAddresses.h"

#include <QSet>

QList<BatchRow> BatchJournal::resume(const QList<BatchRow> &journal, const QStringList &addresses)
{
    QList<BatchRow> rows;
    QSet<QString> known;
    // Journals written before addresses were normalised may hold one page twice.
    auto firstTime = [&known](const QString &url) {
        const QString key = BatchAddresses::normalised(url);
        if (known.contains(key))
            return false;
        known.insert(key);
        return true;
    };
    for (BatchRow row : journal) {
        if (!firstTime(row.url))
            continue;
        if (row.state == BatchState::Done)
            row.state = BatchState::AlreadySaved;
        else if (row.state == BatchState::Picking || row.state == BatchState::Downloading)
            row.state = BatchState::Waiting;
        rows.append(row);
    }
    for (const QString &url : addresses) {
        if (!firstTime(url))
            continue;
        BatchRow row;
        row.url = url;
        rows.append(row);
    }
    return rows;
}
