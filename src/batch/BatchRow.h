#pragma once

#include "download/SaveChoice.h"
#include "picking/MediaCounts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Where one address of a batch stands. The journal stores these by name.
enum class BatchState {
    Waiting,      // 等待
    Picking,      // 采集中
    Downloading,  // 下载中
    Done,         // 完成
    Partial,      // 部分失败: some pictures (or the item folder) failed
    NeedsCheck,   // 需要验证: the marketplace asked for a verification
    NotProduct,   // 不是宝贝页: the pick refused the page
    AlreadySaved, // 已保存: saved completely by an earlier run of this journal
    Unreachable,  // 无法打开: the page could not be loaded (network or HTTP error)
    Failed,       // 失败: picked, but not one picture could be saved
    Cancelled,    // 已取消: the user closed the item's tab while it was picked or saved
};

QString batchStateText(BatchState state);   // the Chinese word the table shows
QString batchStateKey(BatchState state);    // the journal's and the JSON lines' word
bool batchStateFromKey(const QString &key, BatchState *state);
bool batchStateIsFinal(BatchState state);   // neither waiting nor running
bool batchStateIsFailure(BatchState state); // what 重试失败 runs again
bool batchStateWasPicked(BatchState state);  // the page gave a result (counts apply)

// One address and what became of it.
struct BatchRow
{
    QString url;
    QString title;        // the document's, as the JSON line's "title"
    QString productTitle; // the clean name the table shows and the folder is named after
    BatchState state = BatchState::Waiting;
    MediaCounts found; // what the pick found, per kind of media
    int saved = 0;
    int dropped = 0;
    SaveChoice::DropCounts droppedBy{}; // per rule: too narrow, too low, a repeat
    int failed = 0;
    QStringList failedNames; // the failed pictures' names (group + number), not journalled
    // Recorded as soon as the download made it, so that a restart after a
    // crash completes the item in this folder instead of making a new one.
    QString folder;
    QString note; // why it failed, for the table's tool tip and the JSON line
    QString reader; // PickResult::reader: "generic" when no named design read the page
    // The page's description file could not be read: the item is not complete
    // even when every picture found was saved. Lives until the row ends.
    bool descriptionMissing = false;

    // Shown while running, never journalled.
    int done = 0;
    int total = 0;
    qint64 startedMs = 0;
};

// A row of a page that the generic reader read adds "reader": "generic".
// The screenless run's line for a finished row: {"url", "state", "title",
// "folder", a count per kind of media under its key ("main", "sku", "desc",
// "video"), "saved", "dropped", "droppedBy" (per rule), "failed", "failedNames"} for a
// picked item (and "error" when it is partial or failed), {"url", "state", "error"} for one that was refused, blocked or
// could not be loaded. Characters unsafe on a terminal are escaped.
QByteArray batchJsonLine(const BatchRow &row);
