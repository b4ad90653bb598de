#pragma once

#include "batch/BatchItemWorker.h"

#include <QHash>
#include <QPointer>

class MainForm;
class PictureFetcher;
class QNetworkAccessManager;
class TabDownload;

// The batch on the window's own commands: each address is picked in a new
// tab by the 采集 command, then saved by a TabDownload as the 下载 button
// saves it.
class PickBatchWorker : public BatchItemWorker
{
    Q_OBJECT
public:
    explicit PickBatchWorker(MainForm &window, QObject *parent = nullptr);
    ~PickBatchWorker() override;

    void pick(int job, const QString &url) override;
    void download(int job, const QString &saveFolder, const PickResult &result, const QString &itemFolder) override;
    void cancel(int job) override;
    void release(int job) override;
    void bringToFront(int job) override;

    // Every picture of a result, named as a download names them: what an
    // interrupted item's folder is completed with.

private:
    void onResult(int browserIndex, const PickResult &result);
    void onEnded(int browserIndex, bool completed, const QString &message);
    int jobOf(int browserIndex) const;
    int positionOf(int job) const;
    void closeTab(int job);

    QPointer<MainForm> m_window;
    QNetworkAccessManager *m_network;
    PictureFetcher *m_fetcher;
    QHash<int, int> m_browsers; // job -> browser index of its tab
    QHash<int, PickResult> m_results; // browser index -> result, until the pick ends
    QHash<int, QPointer<TabDownload>> m_downloads;
};
