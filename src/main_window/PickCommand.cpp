#include "main_window/PickCommand.h"

#include "main_window/AddressStrip.h"
#include "main_window/TabSet.h"
#include "picking/Pick.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QListWidget>

const QString PickCommand::CompletedLine = QStringLiteral("消息提示:采集完成，请点击<下载>保存至本地电脑！");

namespace {
const QString notice = QStringLiteral("友情提示");
}

PickCommand::PickCommand(TabSet &tabs, AddressStrip &address, Dialogs &dialogs, const PageDesigns &designs,
                         const Intervals &intervals, QObject *parent)
    : QObject(parent), m_tabs(tabs), m_address(address), m_dialogs(dialogs), m_intervals(intervals),
      m_designs(designs)
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

void PickCommand::setStatus(Tab *tab, int row, const QString &text)
{
    writeRow(tab->mesg(), row, text);
    emit statusChanged(tab, text);
}

void PickCommand::pick_B_Click()
{
    const QString address = m_address.address();
    if (m_tabs.current()->isPicking())
        m_tabs.NewP();
    Tab *tab = m_tabs.current();
    // Asked before anything moves: a navigation first would wipe the result
    // that the answer tells the user to download. The tab's state decides,
    // not its caption, which a page's title can imitate.
    if (tab->holdsResult()) {
        const QString message = QStringLiteral("已经是采集结果，无需再采集，请直接下载！");
        emit pickEnded(tab, false, message);
        m_dialogs.messageBox(message, notice, Dialogs::Icon::Information);
        return;
    }
    auto *pick = new Pick(tab->browser(), m_designs, m_intervals, this);
    tab->startPicking();
    QListWidget *list = tab->mesg();
    const int line = list->count();
    list->show();
    list->raise();
    setStatus(tab, line, PickStatus(0));
    ++m_running;
    const QPointer<Tab> held(tab);
    connect(pick, &Pick::progress, tab, [this, tab, line, pick](int seconds) { onProgress(tab, line, pick, seconds); });
    connect(pick, &Pick::identified, tab, [tab, pick] { tab->markPicked(pick->title(), pick->address()); });
    connect(pick, &Pick::ended, this, [this, held, pick](const PickOutcome &outcome) { onEnded(held, pick, outcome); });
    pick->start(address);
}

void PickCommand::onProgress(Tab *tab, int statusRow, const Pick *pick, int seconds)
{
    // While the page loads the pick's own row counts; once it scrolls, the first row.
    setStatus(tab, pick->address().isEmpty() ? statusRow : 0, PickStatus(seconds));
}

void PickCommand::onEnded(const QPointer<Tab> &tab, Pick *pick, const PickOutcome &outcome)
{
    pick->deleteLater();
    if (!tab) {
        --m_running;
        return;
    }
    if (outcome.picked())
        return showResult(tab, outcome);
    if (outcome.kind == PickOutcome::Kind::Cancelled)
        return finish(tab, false, QString());
    refuse(tab, outcome);
}

void PickCommand::showResult(const QPointer<Tab> &tab, const PickOutcome &outcome)
{
    emit resultReady(tab, outcome.result);
    if (!tab) {
        --m_running;
        return;
    }
    if (!tab->browser())
        return finish(tab, false, QString());
    const QString note = outcome.result.note;
    tab->showResult(outcome.result, [this, tab, note](bool written) {
        setStatus(tab, 0, written ? CompletedLine + note : QStringLiteral("消息提示:采集结果页面未能显示，请重新采集。"));
        finish(tab, written, QString());
    });
}

void PickCommand::refuse(Tab *tab, const PickOutcome &outcome)
{
    if (QListWidget *list = tab->mesg())
        list->hide();
    finish(tab, false, outcome.message);
    // A verification page is one the user passes in this tab: no alarm.
    const bool critical = outcome.kind != PickOutcome::Kind::NeedsVerification;
    m_dialogs.messageBox(outcome.message, notice, critical ? Dialogs::Icon::Critical : Dialogs::Icon::Information);
}

void PickCommand::finish(Tab *tab, bool completed, const QString &message)
{
    --m_running;
    tab->stopPicking();
    emit pickEnded(tab, completed, message);
}

void PickCommand::shutdown()
{
    for (Pick *pick : findChildren<Pick *>(Qt::FindDirectChildrenOnly))
        pick->cancel();
}
