#include "download/DownloadCommand.h"

#include "download/PictureFetcher.h"
#include "download/SaveLayout.h"
#include "download/TabDownload.h"
#include "main_window/MainForm.h"
#include "picking/ClearList.h"
#include "picking/PageExtractor.h"
#include "picking/PicLists.h"
#include "picking/PickCommand.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QListWidget>
#include <QNetworkAccessManager>
#include <QUrl>

namespace {
const QString notice = QStringLiteral("友情提示");
}

DownloadCommand::DownloadCommand(MainForm &window, PicLists &lists, QObject *parent)
    : QObject(parent), m_window(window), m_lists(lists), m_network(new QNetworkAccessManager(this)),
      m_fetcher(new PictureFetcher(m_network, this)),
      m_openFolder([](const QString &folder) { QDesktopServices::openUrl(QUrl::fromLocalFile(folder)); })
{
    m_fetcher->setStallTimeout(window.services().intervals.fetchStallMs);
}

DownloadCommand::~DownloadCommand()
{
    delete m_tab.data();
}

void DownloadCommand::DownLoad_B_Click()
{
    // A second download would read the pages back into the lists in use.
    if (m_running) {
        m_window.dialogs().messageBox(QStringLiteral("正在下载中，请等当前下载完成后再点击下载。"), notice,
                                      Dialogs::Icon::Information);
        return;
    }
    TabSet &tabs = m_window.tabs();
    QStringList keys;
    for (int position = 1; position <= tabs.count(); ++position)
        if (tabs.captionAt(position).startsWith(QLatin1String("Pick")))
            keys.append(tabs.keyAt(position));
    if (keys.isEmpty()) {
        m_window.dialogs().messageBox(QStringLiteral("页面上无采集结果,采集结果标题以Pick开头"), notice,
                                      Dialogs::Icon::Information);
        return;
    }
    m_running = true;
    m_folder = m_window.dialogs().ChooseFolder(&m_window, QStringLiteral("请选择保存目录"), QDir::currentPath());
    m_keys = keys;
    nextKey();
}

void DownloadCommand::nextKey()
{
    if (m_keys.isEmpty())
        return finish();
    const QString key = m_keys.takeFirst();
    TabSet &tabs = m_window.tabs();
    const int position = tabs.positionOfKey(key);
    if (position == 0) {
        m_window.dialogs().messageBox(QStringLiteral("采集页面已关闭"), notice, Dialogs::Icon::Information);
        return nextKey();
    }
    tabs.selectPosition(position);
    DownloadTab();
}

void DownloadCommand::DownloadTab()
{
    TabSet &tabs = m_window.tabs();
    const int position = tabs.selectedPosition();
    const QString caption = tabs.captionAt(position);
    const QString key = tabs.keyAt(position);
    const int b = tabs.book().TabList.value(position - 1, -1);
    if (!caption.startsWith(QLatin1String("Pick"))) {
        m_window.dialogs().messageBox(
            QStringLiteral("非采集结果，不能下载，请先采集。采集结果标题以\"Pick\"开头。"), notice,
            Dialogs::Icon::Critical);
        return nextKey();
    }
    BrowserPage *page = tabs.browser(b);
    if (m_folder.isEmpty() || !page)
        return nextKey();
    page->readDocument(PageExtractor::ContainerIds(), this, [this, b, key, caption](const DocumentSnapshot &snapshot) {
        PageExtractor::ExtractPics(snapshot, 0, b, false, m_lists);
        startTab(b, key, caption, m_lists.MainPics(b), m_lists.DescPics(b));
    });
}

void DownloadCommand::startTab(int b, const QString &key, const QString &caption, const QStringList &main,
                               const QStringList &desc)
{
    m_tab = new TabDownload(m_fetcher, MinDescWidth, this);
    m_tabMesg = m_window.tabs().mesg(b);
    connect(m_tab, &TabDownload::progress, this, [this, b](int done, int total, const QString &line) {
        PickCommand::writeRow(m_tabMesg, 0, line);
        emit progressed(b, done, total);
    });
    connect(m_tab, &TabDownload::finished, this, [this, b, key, caption](const DownloadSummary &summary) {
        tabFinished(b, key, caption, summary);
    });
    m_tab->start(m_folder, m_window.tabs().book().PickTitle.value(b), main, desc);
}

void DownloadCommand::tabFinished(int b, const QString &key, const QString &caption, const DownloadSummary &summary)
{
    if (!summary.line.isEmpty())
        PickCommand::writeRow(m_tabMesg, 0, summary.line);
    // The caption goes to the tab that was downloaded, wherever it stands now.
    TabSet &tabs = m_window.tabs();
    if (summary.outcome == DownloadSummary::Outcome::Completed)
        if (const int position = tabs.positionOfKey(key))
            tabs.setCaptionAt(position, QString(caption).replace(QStringLiteral("Pick"), QStringLiteral("已下载")));
    ClearList(m_lists.MainPics(b));
    ClearList(m_lists.DescPics(b));
    m_tab->deleteLater();
    emit tabDownloaded(b, summary);
    nextKey();
}

void DownloadCommand::finish()
{
    m_running = false;
    m_folder.clear();
    emit finished();
}

void DownloadCommand::mesgDblClick(int index)
{
    TabSet &tabs = m_window.tabs();
    const int position = tabs.book().TabPosition(index);
    if (position == 0 || !tabs.captionAt(position).startsWith(QStringLiteral("已下载")))
        return;
    QListWidget *list = tabs.mesg(index);
    if (!list || list->count() == 0)
        return;
    const QString folder = FolderFromLine(list->item(0)->text());
    if (!folder.isEmpty())
        m_openFolder(folder);
}
