#include "main_window/PickCommand.h"

#include "main_window/AddressStrip.h"
#include "main_window/TabSet.h"
#include "picking/Pick.h"
#include "picking/ResultPage.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QListWidget>

const QString PickCommand::CompletedLine = QStringLiteral("消息提示:采集完成，请点击<下载>保存至本地电脑！");

namespace {
const QString notice = QStringLiteral("友情提示");
}

PickCommand::PickCommand(TabSet &tabs, AddressStrip &address, Dialogs &dialogs, const Intervals &intervals,
                         QObject *parent)
    : QObject(parent), m_tabs(tabs), m_address(address), m_dialogs(dialogs), m_intervals(intervals)
{
}

PickCommand::~PickCommand() = default;

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

void PickCommand::setStatus(int b, int row, const QString &text)
{
    writeRow(m_tabs.mesg(b), row, text);
    emit statusChanged(b, text);
}

void PickCommand::pick_B_Click()
{
    TabBook &book = m_tabs.book();
    const QString address = m_address.address();
    if (book.isPicking(book.CurIndex))
        m_tabs.NewP();

    const int b = book.TabList.value(m_tabs.selectedPosition() - 1);
    // Asked before anything moves: a navigation first would wipe the result
    // that the answer tells the user to download. The tab's state decides,
    // not its caption, which a page's title can imitate.
    if (const TabState *tab = m_tabs.state(b); tab && tab->holdsResult()) {
        const QString message = QStringLiteral("已经是采集结果，无需再采集，请直接下载！");
        emit pickEnded(b, false, message);
        m_dialogs.messageBox(message, notice, Dialogs::Icon::Information);
        return;
    }
    auto *pick = new Pick(m_tabs.browser(b), m_designs, m_intervals, this);
    book.PickingFlag[b] = -1;
    QListWidget *list = m_tabs.mesg(b);
    const int line = list->count();
    list->show();
    list->raise();
    setStatus(b, line, PickStatus(0));
    ++m_running;
    connect(pick, &Pick::progress, this, [this, b, line, pick](int seconds) { onProgress(b, line, pick, seconds); });
    connect(pick, &Pick::identified, this, [this, b, pick] { onIdentified(b, pick); });
    connect(pick, &Pick::ended, this, [this, b, pick](const PickOutcome &outcome) { onEnded(b, pick, outcome); });
    pick->start(address);
}

void PickCommand::onProgress(int b, int statusRow, const Pick *pick, int seconds)
{
    // While the page loads the pick's own row counts; once it scrolls, the first row.
    setStatus(b, pick->address().isEmpty() ? statusRow : 0, PickStatus(seconds));
}

void PickCommand::onIdentified(int b, const Pick *pick)
{
    m_tabs.markPicked(b, pick->title(), pick->address());
}

void PickCommand::onEnded(int b, Pick *pick, const PickOutcome &outcome)
{
    pick->deleteLater();
    if (outcome.picked())
        return showResult(b, outcome);
    if (outcome.kind == PickOutcome::Kind::Cancelled)
        return finish(b, false, QString());
    refuse(b, outcome);
}

void PickCommand::showResult(int b, const PickOutcome &outcome)
{
    emit resultReady(b, outcome.result);
    BrowserPage *page = m_tabs.browser(b);
    if (!page)
        return finish(b, false, QString());
    const QString note = outcome.result.note;
    page->writePage(ResultPage::pieces(outcome.result), this, [this, b, note](bool written) {
        setStatus(b, 0, written ? CompletedLine + note : QStringLiteral("消息提示:采集结果页面未能显示，请重新采集。"));
        finish(b, written, QString());
    });
}

void PickCommand::refuse(int b, const PickOutcome &outcome)
{
    if (QListWidget *list = m_tabs.mesg(b))
        list->hide();
    finish(b, false, outcome.message);
    // A verification page is one the user passes in this tab: no alarm.
    const bool critical = outcome.kind != PickOutcome::Kind::NeedsVerification;
    m_dialogs.messageBox(outcome.message, notice, critical ? Dialogs::Icon::Critical : Dialogs::Icon::Information);
}

void PickCommand::finish(int b, bool completed, const QString &message)
{
    --m_running;
    m_tabs.book().PickingFlag[b] = 0;
    emit pickEnded(b, completed, message);
}

void PickCommand::shutdown()
{
    for (Pick *pick : findChildren<Pick *>(Qt::FindDirectChildrenOnly))
        pick->cancel();
}
