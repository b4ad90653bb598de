#pragma once

#include "batch/BatchItemWorker.h"
#include "picking/PickOutcome.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QSet>

#include <utility>

class BrowserPage;
class Engine;
class Pick;
class TabDownload;

// The batch's worker: each address is picked by the pick engine in a page of
// its own from the engine's page host (in the window a tab behind the user's,
// without one a bare page), then saved by a TabDownload as the 下载 button
// saves it. It knows no window: what the user sees of its pages is the
// host's business, and no outcome opens a box.
class PickBatchWorker : public BatchItemWorker
{
    Q_OBJECT
public:
    explicit PickBatchWorker(Engine &engine, QObject *parent = nullptr);
    ~PickBatchWorker() override;

    void pick(int job, const QString &url) override;
    void download(int job, const PickResult &result, const QString &itemFolder, bool resume) override;
    void cancel(int job) override;
    void release(int job) override;
    void bringToFront(int job) override;

private:
    void onEnded(int job, Pick *pick, const PickOutcome &outcome);
    void keepAsResult(int job, const PickResult &result);
    void downloadEnded(int job, TabDownload *tab, const DownloadSummary &summary);
    void onClosedByUser(int job);
    void closeJobPage(int job);
    void closePage(BrowserPage *page);
    void keepForTheUser(const QString &url, BrowserPage *page);
    void dropForTheUser(const QString &url);

    Engine &m_engine;
    QHash<int, QPointer<BrowserPage>> m_pages;  // job -> the page it picks in
    QHash<int, QPointer<Pick>> m_picks;
    QHash<int, QString> m_urls;
    QSet<int> m_shown;  // jobs whose page the user was asked to look at
    // Verification pages left open for the user until their address is picked
    // again; the oldest goes beyond a few (each page is a browser process).
    static constexpr int MaxPagesForTheUser = 4;
    QList<std::pair<QString, QPointer<BrowserPage>>> m_forTheUser;
    QHash<int, QPointer<TabDownload>> m_downloads;
    QHash<int, QPointer<BrowserPage>> m_kept;  // job -> the page that shows its kept result
};
