#pragma once

#include "download/DownloadSummary.h"
#include "main_window/Tab.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class Dialogs;
struct PickResult;
class PictureFetcher;
class QListWidget;
class QWidget;
class TabDownload;
class TabSet;
class Tab;

// The 下载 button: asks once for a folder, then saves the pictures of every
// tab that holds a result not yet downloaded into its own item folder, one
// tab after the other, while the window stays usable. The pictures come from
// the tab's state, never from whatever page the tab shows.
class DownloadCommand : public QObject
{
    Q_OBJECT
public:
    // Shows a folder in a file manager; false when none could be started.
    using FolderOpener = std::function<bool(const QString &folder)>;

    // `fetcher` is the program's one fetcher; `dialogParent` is the window
    // the folder chooser belongs to.
    DownloadCommand(TabSet &tabs, Dialogs &dialogs, PictureFetcher &fetcher, QWidget *dialogParent,
                    QObject *parent = nullptr);
    ~DownloadCommand() override;

    void DownLoad_B_Click();
    // Double click on a tab's message list: opens the item folder of its last download.
    void mesgDblClick(Tab *tab);
    // 重试失败: fetches again, into the same item folder, what the last download
    // of `tab` could not save.
    void retryFailed(Tab *tab);

    bool isRunning() const { return m_running; }
    // Stops the transfers under way, leaving no partial file, and the tabs
    // still waiting; the tab being saved keeps the pictures it has.
    void abort();
    void setFolderOpener(FolderOpener opener) { m_openFolder = std::move(opener); }
    // What 选项 holds now; each tab's download adds the tab's ticks to it.
    void setRules(std::function<SaveChoice()> rules) { m_rules = std::move(rules); }

Q_SIGNALS:
    void tabDownloaded(Tab *tab, const DownloadSummary &summary);
    void progressed(Tab *tab, int done, int total);
    // A retry is about to fetch `failures` into `itemFolder`.
    void retryStarted(Tab *tab, const QString &itemFolder, const QList<FailedPicture> &failures);
    void finished();

private:
    void nextTab();
    void DownloadTab();
    TabDownload *newTabDownload(Tab *tab, const SaveChoice &choice);
    SaveChoice rules() const { return m_rules ? m_rules() : SaveChoice(); }
    void tabFinished(const QPointer<Tab> &tab, const DownloadSummary &summary);
    void retryFinished(const QPointer<Tab> &tab, const DownloadSummary &before, const DownloadSummary &retried);
    void showSummary(Tab *tab, const DownloadSummary &summary);
    bool refuseWhileRunning();
    QString nothingToDownload() const;
    void finish();

    TabSet &m_tabs;
    Dialogs &m_dialogs;
    PictureFetcher &m_fetcher;
    QPointer<QWidget> m_dialogParent;
    QPointer<TabDownload> m_tab;
    QPointer<Tab> m_saving;          // the tab m_tab saves
    QList<QPointer<Tab>> m_waiting;  // tabs this download has still to save
    QString m_folder;
    bool m_running = false;
    FolderOpener m_openFolder;
    std::function<SaveChoice()> m_rules;
};
