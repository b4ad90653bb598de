#include "picking/PickJob.h"

#include "main_window/MainForm.h"
#include "picking/CleanName.h"
#include "picking/ClearList.h"
#include "picking/PageExtractor.h"
#include "picking/PickCommand.h"
#include "picking/ResultPage.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QListWidget>

PickJob::PickJob(PickCommand &command, int slot, int browserIndex, int statusRow)
    : QObject(&command), m_command(command), m_slot(slot), m_browserIndex(browserIndex),
      m_statusRow(statusRow), m_browser(command.window().tabs().browser(browserIndex))
{
    const Intervals &intervals = command.window().services().intervals;
    m_pagePoll.setInterval(qMax(1, intervals.accessTickMs / 20));
    connect(&m_pagePoll, &QTimer::timeout, this, &PickJob::pollPage);
    Timer1.setInterval(intervals.scrollTickMs);
    connect(&Timer1, &QTimer::timeout, this, &PickJob::onScrollTick);
}

QListWidget *PickJob::mesg() const
{
    return m_command.window().tabs().mesg(m_browserIndex);
}

void PickJob::setStatus(int row, const QString &text)
{
    PickCommand::writeRow(mesg(), row, text);
    emit m_command.statusChanged(m_browserIndex, text);
}

void PickJob::waitForPage()
{
    m_command.beginPageWait();
    m_waiting = true;
    m_pagePoll.start();
    pollPage();
}

void PickJob::pollPage()
{
    if (m_finished)
        return;
    if (!m_browser)
        return finish(false, QString());
    const bool ready = m_browser->ReadyState() == BrowserPage::ReadyComplete;
    if (!ready && m_command.window().AccessTicks <= 2) {
        setStatus(m_statusRow, PickCommand::PickStatus(m_command.pickSlots().PickSeconds[m_slot]));
        return;
    }
    m_pagePoll.stop();
    m_waiting = false;
    m_command.endPageWait();
    m_browser->readScrollHeight(this, [this](std::optional<double> height) { checkPage(height); });
}

void PickJob::checkPage(std::optional<double> height)
{
    if (m_finished)
        return;
    if (!m_browser)
        return finish(false, QString());
    // A page without a body (or one that did not answer) is no product page.
    if (!height)
        return refuse(QStringLiteral("不是阿里巴巴宝贝地址"), true);
    m_command.pickSlots().PageHeight[m_slot] = *height;
    m_browser->readDocument(PageExtractor::ContainerIds(), this, [this](const DocumentSnapshot &snapshot) { onChecked(snapshot); });
}

void PickJob::onChecked(const DocumentSnapshot &snapshot)
{
    if (m_finished)
        return;
    if (!m_browser)
        return finish(false, QString());
    TabBook &book = m_command.window().tabs().book();
    book.PickTitle[m_browserIndex] = CleanName(PageExtractor::GetPageTitle(snapshot));
    book.PickUrl[m_browserIndex] = m_browser->LocationURL();
    if (!PageExtractor::ExtractPics(snapshot, 1, m_browserIndex, true, m_command.lists()))
        return refuse(QStringLiteral("不是阿里巴巴宝贝地址"), true);
    startScrolling();
}

void PickJob::startScrolling()
{
    m_command.pickSlots().startScrolling(m_slot);
    m_command.startThread(m_slot, m_browserIndex);
    Timer1.start();
    m_command.window().tabs().book().PickedTabs.append(m_browserIndex);
}

void PickJob::onScrollTick()
{
    if (m_tickBusy)
        return;
    if (!m_browser)
        return finish(false, QString());
    m_tickBusy = true;
    m_browser->readScrollHeight(this, [this](std::optional<double> height) { onHeight(height); });
}

void PickJob::onHeight(std::optional<double> height)
{
    if (m_finished)
        return;
    m_tickBusy = false;
    if (!m_browser)
        return finish(false, QString());
    PickSlots &pickSlots = m_command.pickSlots();
    const PickSlots::Tick tick = pickSlots.tick(m_slot, height.value_or(0));
    if (tick.reachedEnd)
        return complete();
    m_browser->scrollBy(0, tick.scrollBy);
    if (tick.takeSample)
        m_browser->readScrollHeight(this, [this](std::optional<double> sample) {
            if (sample && !m_finished)
                m_command.pickSlots().sample(m_slot, *sample);
        });
    setStatus(0, PickCommand::PickStatus(pickSlots.PickSeconds[m_slot]));
}

void PickJob::complete()
{
    Timer1.stop();
    m_command.pickSlots().stopScrolling(m_slot);
    m_browser->readDocument(PageExtractor::ContainerIds(), this, [this](const DocumentSnapshot &snapshot) { writeResult(snapshot); });
}

void PickJob::writeResult(const DocumentSnapshot &snapshot)
{
    if (m_finished)
        return;
    if (!m_browser)
        return finish(false, QString());
    PicLists &lists = m_command.lists();
    const int b = m_browserIndex;
    PageExtractor::ExtractPics(snapshot, 1, b, false, lists);
    const TabBook &book = m_command.window().tabs().book();
    // --- minimal hand-over until the pick builds the full result itself ---
    PickResult result;
    result.title = book.PickTitle.value(b);
    result.address = book.PickUrl.value(b);
    result.mainPics = lists.MainPics(b);
    result.descPics = lists.DescPics(b);
    emit m_command.resultReady(b, result);
    if (!m_browser)
        return finish(false, QString());
    // --- end of the hand-over ---
    const QStringList pieces = ResultPage::pieces(book.PickTitle.value(b), book.PickUrl.value(b),
                                                  lists.MainPics(b), lists.DescPics(b));
    m_browser->writePage(pieces, this, [this, b](bool written) {
        PicLists &lists = m_command.lists();
        ClearList(lists.MainPics(b));
        ClearList(lists.DescPics(b));
        setStatus(0, written ? PickCommand::CompletedLine
                             : QStringLiteral("消息提示:采集结果页面未能显示，请重新采集。"));
        finish(written, QString());
    });
}

void PickJob::refuse(const QString &message, bool critical)
{
    if (QListWidget *list = mesg())
        list->hide();
    finish(false, message);
    m_command.window().dialogs().messageBox(message, QStringLiteral("友情提示"),
                                            critical ? Dialogs::Icon::Critical : Dialogs::Icon::Information);
}

void PickJob::finish(bool completed, const QString &message)
{
    if (m_finished)
        return;
    m_finished = true;
    Timer1.stop();
    m_pagePoll.stop();
    if (m_waiting) {
        m_waiting = false;
        m_command.endPageWait();
    }
    m_command.pickSlots().stopScrolling(m_slot);
    m_command.endThread(m_browserIndex);
    m_command.pickSlots().release(m_slot);
    m_command.window().tabs().book().PickingFlag[m_browserIndex] = 0;
    m_command.jobEnded(this, m_browserIndex, completed, message);
}
