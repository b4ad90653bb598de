#pragma once

#include "download/DownloadSummary.h"
#include "download/SaveChoice.h"
#include "picking/PickResult.h"

#include <QList>
#include <QObject>
#include <QQueue>

#include <utility>

class PictureFetcher;

// Saves pick results into the folder given on the command line as they come,
// a few items side by side, each item's pictures one after the other.
class HeadlessSave : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxRunning = 4;

    // `fetcher` is the program's one fetcher; `choice` says what each item keeps.
    HeadlessSave(const QString &folder, PictureFetcher &fetcher, const SaveChoice &choice = SaveChoice(),
                 QObject *parent = nullptr);

    // Starts saving at once when fewer than MaxRunning items are saving,
    // otherwise when one of them ends.
    void save(int id, const PickResult &result);
    static QString summaryLine(const DownloadSummary &summary);

Q_SIGNALS:
    // One item has ended; `id` is the one given to save().
    void saved(int id, const DownloadSummary &summary);
    // `done` of the item's `total` pictures have ended.
    void progressed(int id, int done, int total);

private:
    void startNext();

    QString m_folder;
    PictureFetcher *m_fetcher;
    SaveChoice m_choice;
    QQueue<std::pair<int, PickResult>> m_waiting;
    int m_running = 0;
};
