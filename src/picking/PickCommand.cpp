#include "picking/PickCommand.h"

#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "picking/PickJob.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QListWidget>

const QString PickCommand::CompletedLine = QStringLiteral("消息提示:采集完成，请点击<下载>保存至本地电脑！");

PickCommand::PickCommand(MainForm &window, QObject *parent) : QObject(parent), m_window(window) {}

PickCommand::~PickCommand()
{
    shutdown();
}

QString PickCommand::PickStatus(double seconds)
{
    return QStringLiteral("消息提示:图片采集中,估算已用时") + QString::number(seconds, 'f', 0)
        + QStringLiteral("s，采集过程中请勿做其它操作！");
}

void PickCommand::writeRow(QListWidget *list, int row, const QString &text)
{
    if (!list)
        return;
    while (list->count() <= row)
        list->addItem(QString());
    list->item(row)->setText(text);
}

void PickCommand::pick_B_Click()
{
    TabSet &tabs = m_window.tabs();
    TabBook &book = tabs.book();
    const QString address = m_window.addressStrip().address();
    PickCaption = tabs.captionAt(tabs.selectedPosition());
    if (book.PickingFlag.value(book.CurIndex) == -1)
        tabs.NewP();

    const int sel = tabs.selectedPosition();
    const int b = book.TabList.value(sel - 1);
    // Asked before anything moves: a navigation first would wipe the result
    // that the answer tells the user to download. The tab's state decides,
    // not its caption, which a page's title can imitate.
    if (const TabState *tab = tabs.state(b); tab && tab->holdsResult()) {
        const QString message = QStringLiteral("已经是采集结果，无需再采集，请直接下载！");
        emit pickEnded(b, false, message);
        m_window.dialogs().messageBox(message, QStringLiteral("友情提示"), Dialogs::Icon::Information);
        return;
    }
    const std::optional<int> slot = m_slots.AllocSlot();
    if (!slot) {
        m_window.dialogs().messageBox(QStringLiteral("同时进行的采集太多（最多255个），请等其它采集完成后再试。"),
                                      QStringLiteral("友情提示"), Dialogs::Icon::Critical);
        return;
    }
    m_slots.PickSeconds[*slot] = 0;
    m_slots.SlotBrowser[*slot] = b;
    if (BrowserPage *page = tabs.browser(b))
        page->Navigate(address);
    book.PickingFlag[b] = -1;

    QListWidget *list = tabs.mesg(b);
    const int line = list->count();
    list->show();
    list->raise();
    writeRow(list, line, PickStatus(0));
    emit statusChanged(b, PickStatus(0));
    ++m_running;
    (new PickJob(*this, *slot, b, line))->waitForPage();
}

void PickCommand::jobEnded(PickJob *job, int browserIndex, bool completed, const QString &message)
{
    --m_running;
    job->deleteLater();
    emit pickEnded(browserIndex, completed, message);
}

void PickCommand::beginPageWait()
{
    m_window.AccessTicks = 0;
    m_window.TimerAccess.start();
    ++m_pageWaits;
}

void PickCommand::endPageWait()
{
    // Another pick may still be waiting on the same second counter.
    if (--m_pageWaits == 0)
        m_window.TimerAccess.stop();
}

void PickCommand::startThread(int slot, int browserIndex)
{
    auto thread = std::make_unique<StepThread>();
    const int stepMs = m_window.services().intervals.stepMs;
    thread->start([this, stepMs](std::stop_token stop, int s) { m_slots.ScorllStepAdd(stop, s, stepMs); }, slot);
    PickThreads[QStringLiteral("T%1").arg(browserIndex)] = std::move(thread);
}

void PickCommand::endThread(int browserIndex)
{
    PickThreads.erase(QStringLiteral("T%1").arg(browserIndex));
}

bool PickCommand::hasThread(int browserIndex) const
{
    return PickThreads.count(QStringLiteral("T%1").arg(browserIndex)) > 0;
}

void PickCommand::shutdown()
{
    for (auto &[key, thread] : PickThreads)
        if (thread->IsThreadRunning())
            thread->TerminateWin32Thread();
    PickThreads.clear();
}
