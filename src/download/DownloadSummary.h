#pragma once

#include "download/SaveChoice.h"
#include "picking/MediaCounts.h"

#include <array>

#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One picture that could not be saved, enough to fetch it again into the
// same item folder under the same name (group + number).
struct FailedPicture
{
    QString group;   // the folder of its kind: "主图", "SKU图", "描述图" or "视频"
    int number = 0;  // the number its file has or would have had
    QString url;
    QString name() const { return group + QString::number(number); }
};

// What one item's download came to.
struct DownloadSummary
{
    enum class Outcome {
        Completed,    // every picture was tried; line is the completion line
        FolderFailed, // an item folder or sub-folder could not be made; line says which
        NoFolder,     // no folder was chosen: nothing was created
        Aborted,      // abort() stopped it; the picture in flight left no file
    };

    Outcome outcome = Outcome::Completed;
    QString itemFolder; // the item folder created, empty when none was
    int total = 0;      // files asked for, of every kind
    MediaCounts kept;   // files left on disk, per kind (unknownWidth ones included)
    int saved = 0;      // of those, the pictures: kept.pictures()
    int dropped = 0;    // pictures the rules left out (deleted once fetched): the sum of droppedBy
    SaveChoice::DropCounts droppedBy{}; // by rule: too narrow, too low, a repeat
    int narrowWidth = MinDescWidth; // the least width the message rows name
    int failed = 0;     // not fetched whole, or no picture; failures.size()
    int unknownWidth = 0; // description pictures kept although their width could not be read
    QList<FailedPicture> failures; // one entry per failed picture, in list order
    QString line;       // for line 0 of the message list; empty for NoFolder and Aborted
    QString error;      // the system's reason when outcome is FolderFailed
    QString dataError;  // why 商品信息.json or 商品SKU.csv could not be written, empty when they were

    // What the rows say of the dropped pictures: "宽度小于450像素" while the
    // width rule alone dropped any, else each rule's word and count ("过窄1 重复2").
    QString dropNote() const
    {
        if (narrowWidth > 0 && droppedBy[SaveChoice::Low] == 0 && droppedBy[SaveChoice::Same] == 0)
            return QStringLiteral("宽度小于%1像素").arg(narrowWidth);
        QStringList parts;
        for (int reason = 0; reason < SaveChoice::Reasons; ++reason)
            if (droppedBy[reason] > 0)
                parts << SaveChoice::reasonWord(SaveChoice::Reason(reason)) + QString::number(droppedBy[reason]);
        return parts.isEmpty() ? QStringLiteral("无") : parts.join(QLatin1Char(' '));
    }
    void setKept(const MediaCounts &counts)
    {
        kept = counts;
        saved = counts.pictures();
    }
    // After a retry of this download's failures: what was kept before and
    // what the retry kept; what failed is what failed again.
    DownloadSummary afterRetry(const DownloadSummary &retried) const
    {
        DownloadSummary merged = retried;
        merged.itemFolder = itemFolder;
        merged.total = total;
        MediaCounts both = kept;
        both += retried.kept;
        merged.setKept(both);
        merged.dropped = dropped + retried.dropped;
        for (int reason = 0; reason < SaveChoice::Reasons; ++reason)
            merged.droppedBy[reason] = droppedBy[reason] + retried.droppedBy[reason];
        merged.narrowWidth = narrowWidth;
        merged.unknownWidth = unknownWidth + retried.unknownWidth;
        if (merged.line.isEmpty())
            merged.line = line;
        return merged;
    }
};

Q_DECLARE_METATYPE(DownloadSummary)
