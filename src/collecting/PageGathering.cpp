#include "collecting/PageGathering.h"

#include "picking/Pick.h"
#include "picking/designs/BlockedPage.h"
#include "platform/BrowserPage.h"

PageGathering::PageGathering(BrowserPage *page, const Intervals &intervals, QObject *parent)
    : QObject(parent), m_page(page), m_intervals(intervals), m_scroll(qMax(1, intervals.stepMs / Pace))
{
    m_poll.setInterval(qMax(1, intervals.accessTickMs / 20));
    connect(&m_poll, &QTimer::timeout, this, &PageGathering::poll);
    m_tick.setInterval(qMax(1, intervals.scrollTickMs / Pace));
    connect(&m_tick, &QTimer::timeout, this, &PageGathering::onScrollTick);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (m_reading)
            return finish(End::Failed, {}, Pick::CutShortMessage);
        read();
    });
}

void PageGathering::start()
{
    m_clock.start();
    m_poll.start();
}

bool PageGathering::gone()
{
    if (m_page)
        return false;
    finish(End::Failed, {}, Pick::CancelledMessage);
    return true;
}

void PageGathering::poll()
{
    if (m_ended || gone())
        return;
    if (m_page->ReadyState() != BrowserPage::ReadyComplete && m_clock.elapsed() < m_intervals.pageLoadWaitMs)
        return;
    m_poll.stop();
    m_deadline.start(m_intervals.pickDeadlineMs);
    m_page->readPageFacts({}, this, [this](const PageFacts &facts) {
        if (!m_ended && !gone())
            judge(facts);
    });
}

void PageGathering::judge(const PageFacts &facts)
{
    if (BlockedPage::isBlocked(facts))
        return finish(End::Blocked, {}, BlockedPage::Message);
    if (const QString error = m_page->loadError(); !error.isEmpty())
        return finish(End::Failed, {}, error);
    m_page->readScrollHeight(this, [this](std::optional<double> height) {
        if (m_ended || gone())
            return;
        if (!height)
            return read();  // no body to scroll: what there is is read
        m_scroll.start(*height);
        m_scrollClock.start();
        m_tick.start();
    });
}

void PageGathering::onScrollTick()
{
    if (m_ended || m_reading || m_settling || gone())
        return;
    m_scroll.ScorllStepAdd(m_scrollClock.elapsed());
    if (m_scroll.countSecond())
        m_page->readScrollHeight(this, [this](std::optional<double> sample) {
            if (sample && !m_ended)
                m_scroll.sample(*sample);
        });
    if (m_tickBusy)
        return;
    m_tickBusy = true;
    m_page->readScrollHeight(this, [this](std::optional<double> height) { onHeight(height); });
}

void PageGathering::onHeight(std::optional<double> height)
{
    m_tickBusy = false;
    if (m_ended || m_reading || gone() || !height)
        return;
    if (*height > Pick::MaxPageHeight)
        return read();
    const ScrollRun::Tick tick = m_scroll.step(*height);
    if (tick.reachedEnd)
        return settle(*height);
    m_page->scrollBy(0, tick.scrollBy);
}

// At the end: a list that appends offers when its end comes into view grows
// a moment later, and the scroll goes on; one that stays as it is is read.
void PageGathering::settle(double height)
{
    m_settling = true;
    QTimer::singleShot(qMax(1, m_intervals.accessTickMs / 2), this, [this, height] {
        if (m_ended || m_reading || gone())
            return;
        m_page->readScrollHeight(this, [this, height](std::optional<double> now) {
            if (m_ended || m_reading || gone())
                return;
            m_settling = false;
            if (!now || *now <= height)
                read();
        });
    });
}

void PageGathering::read()
{
    if (m_ended || m_reading || gone())
        return;
    m_reading = true;
    m_tick.stop();
    // Past the deadline only the grace is left for this read.
    if (!m_deadline.isActive() || m_deadline.remainingTime() > m_intervals.pickGraceMs)
        m_deadline.start(m_intervals.pickGraceMs);
    m_page->readListPage(MaxLinks, false, this, [this](const ListPage &list) {
        if (m_ended || gone())
            return;
        if (!list.hasDocument)
            return finish(End::Failed, list, Pick::CutShortMessage);
        finish(End::Read, list);
    });
}

void PageGathering::finish(End end, const ListPage &list, const QString &message)
{
    if (m_ended)
        return;
    m_ended = true;
    m_poll.stop();
    m_tick.stop();
    m_deadline.stop();
    emit ended(end, list, message);
}
