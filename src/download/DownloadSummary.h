#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// One picture that could not be saved, enough to fetch it again into the
// same item folder under the same name (group + number).
struct FailedPicture
{
    QString group;   // "主图", "SKU图", "描述图" or "视频"
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
    int total = 0;      // main + SKU + description pictures and videos asked for
    int saved = 0;      // pictures left on disk (unknownWidth ones included)
    int videos = 0;     // videos left on disk
    int dropped = 0;    // description pictures deleted for being too narrow
    int failed = 0;     // not fetched whole, or no picture; failures.size()
    int unknownWidth = 0; // description pictures kept although their width could not be read
    QList<FailedPicture> failures; // one entry per failed picture, in list order
    QString line;       // for line 0 of the message list; empty for NoFolder and Aborted
    QString error;      // the system's reason when outcome is FolderFailed
    QString dataError;  // why 商品信息.json or 商品SKU.csv could not be written, empty when they were
};

Q_DECLARE_METATYPE(DownloadSummary)
