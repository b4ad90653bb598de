#include "main_window/DownloadCommand.h"

#include "download/PictureFetcher.h"
#include "download/SaveLayout.h"
#include "download/SummaryRows.h"
#include "download/TabDownload.h"
#include "download/UnfinishedMark.h"
#include "main_window/PickCommand.h"
#include "main_window/TabSet.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QListWidget>
#include <QUrl>

namespace {
const QString notice = QStringLiteral("友情提示");

QString UnfinishedLine(const QString &itemFolder)
{
    return QStringLiteral("消息提示:下载未完成,缺少的文件列在") + UnfinishedMark::FileName + QStringLiteral("->")
        + itemFolder + QStringLiteral("->双击打开");
}
}

DownloadCommand::DownloadCommand(TabSet &tabs, Dialogs &dialogs, PictureFetcher &fetcher, QWidget *dialogParent,
                                 QObject *parent)
    : QObject(parent), m_tabs(tabs), m_dialogs(dialogs), m_fetcher(fetcher), m_dialogParent(dialogParent),
      m_openFolder([](const QString &folder) { return QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); })
{
}

DownloadCommand::~DownloadCommand()
{
    delete m_tab.data();
}

bool DownloadCommand::refuseWhileRunning()
{
    if (!m_running)
        return false;
    m_dialogs.messageBox(QStringLiteral("正在下载中，请等当前下载完成后再点击下载。"), notice,
                                  Dialogs::Icon::Information);
    return true;
}

namespace {
bool awaitsDownload(const Tab *tab)
{
    return tab && tab->result() && !tab->lastDownload();
}
}

void DownloadCommand::DownLoad_B_Click()
{
    // A second download would write into the folders of the one under way.
    if (refuseWhileRunning())
        return;
    QList<QPointer<Tab>> waiting;
    for (Tab *tab : m_tabs.tabs())
        if (awaitsDownload(tab))
            waiting.append(tab);
    if (waiting.isEmpty()) {
        m_dialogs.messageBox(nothingToDownload(), notice, Dialogs::Icon::Information);
        return;
    }
    m_running = true;
    m_folder = m_dialogs.ChooseFolder(m_dialogParent, QStringLiteral("请选择保存目录"), QDir::currentPath());
    m_waiting = waiting;
    nextTab();
}

QString DownloadCommand::nothingToDownload() const
{
    // The result on screen was saved already: say where, rather than that there is none.
    const Tab *done = nullptr;
    for (const Tab *tab : m_tabs.tabs())
        if (tab->lastDownload() && (!done || tab == m_tabs.current()))
            done = tab;
    if (!done)
        return QStringLiteral("页面上无采集结果,采集结果标题以Pick开头");
    return QStringLiteral("已下载到 ") + QDir::toNativeSeparators(done->lastDownload()->itemFolder)
        + QStringLiteral("，双击打开");
}

void DownloadCommand::abort()
{
    m_waiting.clear();
    // Deleted at once: the window may close right after, and the transfers
    // in flight must remove their partial files before it does.
    if (m_tab) {
        m_tab->disconnect(this);
        const QString folder = m_tab->summary().itemFolder;
        delete m_tab.data();
        if (m_saving && !folder.isEmpty())
            PickCommand::writeRow(m_saving->mesg(), 0, UnfinishedLine(folder));
    }
    if (m_saving && m_saving->mesg())
        m_saving->mesg()->setProgress(0, 0);
    if (m_running)
        finish();
}

void DownloadCommand::nextTab()
{
    if (m_waiting.isEmpty())
        return finish();
    const QPointer<Tab> tab = m_waiting.takeFirst();
    if (!tab || !m_tabs.positionOf(tab)) {
        m_dialogs.messageBox(QStringLiteral("采集页面已关闭"), notice, Dialogs::Icon::Information);
        return nextTab();
    }
    m_tabs.select(tab);
    DownloadTab();
}

void DownloadCommand::DownloadTab()
{
    const QPointer<Tab> tab = m_tabs.current();
    // The tab may have left its result since the button was pressed.
    if (!awaitsDownload(tab)) {
        m_dialogs.messageBox(QStringLiteral("非采集结果，不能下载，请先采集。采集结果标题以\"Pick\"开头。"), notice,
                             Dialogs::Icon::Critical);
        return nextTab();
    }
    if (m_folder.isEmpty())
        return nextTab();
    SaveChoice choice = rules();
    choice.takeTicks(tab->choice());
    TabDownload *download = newTabDownload(tab, choice);
    connect(download, &TabDownload::finished, this, [this, tab](const DownloadSummary &summary) { tabFinished(tab, summary); });
    download->start(m_folder, *tab->result());
}

TabDownload *DownloadCommand::newTabDownload(Tab *tab, const SaveChoice &choice)
{
    m_tab = new TabDownload(&m_fetcher, choice, this);
    m_saving = tab;
    const QPointer<Tab> held(tab);
    connect(m_tab, &TabDownload::progress, this, [this, held](int done, int total, const QString &line) {
        if (!held)
            return;
        PickCommand::writeRow(held->mesg(), 0, line);
        if (MesgList *list = held->mesg())
            list->setProgress(done, total);
        emit progressed(held, done, total);
    });
    return m_tab;
}

void DownloadCommand::tabFinished(const QPointer<Tab> &tab, const DownloadSummary &summary)
{
    // A tab closed meanwhile has nowhere to show the summary.
    if (tab)
        showSummary(tab, summary);
    m_tab->deleteLater();
    emit tabDownloaded(tab, summary);
    nextTab();
}

void DownloadCommand::showSummary(Tab *tab, const DownloadSummary &summary)
{
    if (MesgList *list = tab->mesg())
        list->setProgress(0, 0);
    if (!summary.line.isEmpty())
        PickCommand::writeRow(tab->mesg(), 0, SummaryRows::FirstRow(summary));
    if (summary.outcome != DownloadSummary::Outcome::Completed)
        return;
    if (MesgList *list = tab->mesg())
        list->setCounts(SummaryRows::CountsLine(summary));
    tab->markDownloaded(summary);
}

void DownloadCommand::retryFailed(Tab *tab)
{
    if (!tab || !tab->hasFailures() || tab->lastDownload()->itemFolder.isEmpty())
        return;
    if (refuseWhileRunning())
        return;
    const DownloadSummary before = *tab->lastDownload();
    m_running = true;
    TabDownload *download = newTabDownload(tab, rules());
    const QPointer<Tab> held(tab);
    connect(download, &TabDownload::finished, this, [this, held, before](const DownloadSummary &retried) {
        retryFinished(held, before, retried);
    });
    emit retryStarted(tab, before.itemFolder, before.failures);
    if (!download->retry(before.itemFolder, before.failures)) {
        download->deleteLater();
        m_dialogs.messageBox(QStringLiteral("重试未能开始，请重新采集后再下载。"), notice, Dialogs::Icon::Critical);
        finish();
    }
}

void DownloadCommand::retryFinished(const QPointer<Tab> &tab, const DownloadSummary &before, const DownloadSummary &retried)
{
    const DownloadSummary merged = before.afterRetry(retried);
    if (tab)
        showSummary(tab, merged);
    m_tab->deleteLater();
    emit tabDownloaded(tab, merged);
    finish();
}

void DownloadCommand::finish()
{
    m_running = false;
    m_folder.clear();
    emit finished();
}

void DownloadCommand::mesgDblClick(Tab *tab)
{
    // What the tab holds decides, not what its caption or message rows say.
    if (!tab || !tab->lastDownload())
        return;
    const QString folder = tab->lastDownload()->itemFolder;
    if (!folder.isEmpty() && !m_openFolder(folder))
        m_dialogs.messageBox(QStringLiteral("无法启动文件管理器，图片保存在：\n") + QDir::toNativeSeparators(folder),
                             notice, Dialogs::Icon::Information);
}
