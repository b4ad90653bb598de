#pragma once

#include "download/DownloadSummary.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class MainForm;
class PicLists;
class PictureFetcher;
class QListWidget;
class QNetworkAccessManager;
class TabDownload;

// The 下载 button: asks once for a folder, then saves the pictures of every
// result tab ("Pick…" caption) into its own item folder, one tab after the
// other, while the window stays usable.
class DownloadCommand : public QObject
{
    Q_OBJECT
public:
    using FolderOpener = std::function<void(const QString &folder)>;

    DownloadCommand(MainForm &window, PicLists &lists, QObject *parent = nullptr);
    ~DownloadCommand() override;

    void DownLoad_B_Click();
    // Double click on a tab's message list: opens the folder its completion line names.
    void mesgDblClick(int index);

    bool isRunning() const { return m_running; }
    void setFolderOpener(FolderOpener opener) { m_openFolder = std::move(opener); }

Q_SIGNALS:
    void tabDownloaded(int browserIndex, const DownloadSummary &summary);
    void progressed(int browserIndex, int done, int total);
    void finished();

private:
    void nextKey();
    void DownloadTab();
    void startTab(int b, const QString &key, const QString &caption, const QStringList &main,
                  const QStringList &desc);
    void tabFinished(int b, const QString &key, const QString &caption, const DownloadSummary &summary);
    void finish();

    MainForm &m_window;
    PicLists &m_lists;
    QNetworkAccessManager *m_network;
    PictureFetcher *m_fetcher;
    QPointer<TabDownload> m_tab;
    QPointer<QListWidget> m_tabMesg;
    QStringList m_keys;
    QString m_folder;
    bool m_running = false;
    FolderOpener m_openFolder;
};
