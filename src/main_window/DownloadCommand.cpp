#include "main_window/DownloadCommand.h"

#include "download/PictureFetcher.h"
#include "download/SaveLayout.h"
#include "download/TabDownload.h"
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
bool awaitsDownload(const TabState *tab)
{
    return tab && tab->holdsResult() && !tab->downloaded;
}
}

void DownloadCommand::DownLoad_B_Click()
{
    // A second download would write into the folders of the one under way.
    if (refuseWhileRunning())
        return;
    TabSet &tabs = m_tabs;
    QStringList keys;
    for (int position = 1; position <= tabs.count(); ++position)
        if (awaitsDownload(tabs.state(tabs.book().TabList.value(position - 1, -1))))
            keys.append(tabs.keyAt(position));
    if (keys.isEmpty()) {
        m_dialogs.messageBox(QStringLiteral("页面上无采集结果,采集结果标题以Pick开头"), notice,
                                      Dialogs::Icon::Information);
        return;
    }
    m_running = true;
    m_folder = m_dialogs.ChooseFolder(m_dialogParent, QStringLiteral("请选择保存目录"), QDir::currentPath());
    m_keys = keys;
    nextKey();
}

void DownloadCommand::nextKey()
{
    if (m_keys.isEmpty())
        return finish();
    const QString key = m_keys.takeFirst();
    TabSet &tabs = m_tabs;
    const int position = tabs.positionOfKey(key);
    if (position == 0) {
        m_dialogs.messageBox(QStringLiteral("采集页面已关闭"), notice, Dialogs::Icon::Information);
        return nextKey();
    }
    tabs.selectPosition(position);
    DownloadTab();
}

void DownloadCommand::DownloadTab()
{
    TabSet &tabs = m_tabs;
    const int b = tabs.book().TabList.value(tabs.selectedPosition() - 1, -1);
    const TabState *tab = tabs.state(b);
    // The tab may have left its result since the button was pressed.
    if (!awaitsDownload(tab)) {
        m_dialogs.messageBox(
            QStringLiteral("非采集结果，不能下载，请先采集。采集结果标题以\"Pick\"开头。"), notice,
            Dialogs::Icon::Critical);
        return nextKey();
    }
    if (m_folder.isEmpty())
        return nextKey();
    startTab(b, *tab->result);
}

TabDownload *DownloadCommand::newTabDownload(int b)
{
    m_tab = new TabDownload(&m_fetcher, MinDescWidth, this);
    m_tabMesg = m_tabs.mesg(b);
    connect(m_tab, &TabDownload::progress, this, [this, b](int done, int total, const QString &line) {
        PickCommand::writeRow(m_tabMesg, 0, line);
        emit progressed(b, done, total);
    });
    return m_tab;
}

void DownloadCommand::startTab(int b, const PickResult &result)
{
    TabDownload *download = newTabDownload(b);
    connect(download, &TabDownload::finished, this, [this, b](const DownloadSummary &summary) { tabFinished(b, summary); });
    download->start(m_folder, result);
}

void DownloadCommand::tabFinished(int b, const DownloadSummary &summary)
{
    showSummary(b, summary);
    m_tab->deleteLater();
    emit tabDownloaded(b, summary);
    nextKey();
}

void DownloadCommand::showSummary(int b, const DownloadSummary &summary)
{
    if (!summary.line.isEmpty())
        PickCommand::writeRow(m_tabMesg, 0, summary.line);
    if (summary.outcome != DownloadSummary::Outcome::Completed)
        return;
    if (auto *list = qobject_cast<MesgList *>(m_tabMesg.data()))
        list->setCounts(CountsLine(summary));
    // The tab was closed meanwhile when its list is gone: its index may be
    // someone else's by now.
    if (m_tabMesg)
        m_tabs.setDownloaded(b, summary);
}

QString DownloadCommand::CountsLine(const DownloadSummary &summary)
{
    QString line = QStringLiteral("保存%1张 丢弃%2张(宽度小于%3像素) 失败%4张")
                       .arg(summary.saved)
                       .arg(summary.dropped)
                       .arg(MinDescWidth)
                       .arg(summary.failed);
    if (summary.unknownWidth > 0)
        line += QStringLiteral(" 宽度未知%1张").arg(summary.unknownWidth);
    if (!summary.failures.isEmpty()) {
        QStringList names;
        for (const FailedPicture &picture : summary.failures)
            names << picture.name();
        line += QStringLiteral(" 失败的图片:") + names.join(QStringLiteral(", "));
    }
    return line;
}

void DownloadCommand::retryFailed(int index)
{
    const TabState *tab = m_tabs.state(index);
    if (!tab || !tab->hasFailures() || tab->lastDownload.itemFolder.isEmpty())
        return;
    if (refuseWhileRunning())
        return;
    const DownloadSummary before = tab->lastDownload;
    m_running = true;
    TabDownload *download = newTabDownload(index);
    connect(download, &TabDownload::finished, this, [this, index, before](const DownloadSummary &retried) {
        retryFinished(index, before, retried);
    });
    emit retryStarted(index, before.itemFolder, before.failures);
    if (!download->retry(before.itemFolder, before.failures)) {
        download->deleteLater();
        m_dialogs.messageBox(QStringLiteral("重试未能开始，请重新采集后再下载。"), notice, Dialogs::Icon::Critical);
        finish();
    }
}

void DownloadCommand::retryFinished(int b, const DownloadSummary &before, const DownloadSummary &retried)
{
    // The item's counts: what was saved before plus what the retry saved;
    // what failed is what failed again.
    DownloadSummary merged = retried;
    merged.itemFolder = before.itemFolder;
    merged.total = before.total;
    merged.saved = before.saved + retried.saved;
    merged.dropped = before.dropped + retried.dropped;
    merged.unknownWidth = before.unknownWidth + retried.unknownWidth;
    if (merged.line.isEmpty())
        merged.line = before.line;
    showSummary(b, merged);
    m_tab->deleteLater();
    emit tabDownloaded(b, merged);
    finish();
}

void DownloadCommand::finish()
{
    m_running = false;
    m_folder.clear();
    emit finished();
}

void DownloadCommand::mesgDblClick(int index)
{
    // What the tab holds decides, not what its caption or message rows say.
    const TabState *tab = m_tabs.state(index);
    if (!tab || !tab->holdsResult() || !tab->downloaded)
        return;
    const QString folder = tab->lastDownload.itemFolder;
    if (!folder.isEmpty() && !m_openFolder(folder))
        m_dialogs.messageBox(QStringLiteral("无法启动文件管理器，图片保存在：\n") + QDir::toNativeSeparators(folder),
                             notice, Dialogs::Icon::Information);
}
