#include "picking/ScrollRun.h"

#include <cmath>

void ScrollRun::start(double pageHeight)
{
    m_advancedMs = 0;
    m_position = 0;
    m_step = qint16(FirstStep);
    m_seconds = 0;
    m_pageHeight = pageHeight;
}

void ScrollRun::ScorllStepAdd(qint64 elapsedMs)
{
    const qint64 steps = (elapsedMs - m_advancedMs) / m_stepMs;
    if (steps <= 0)
        return;
    m_advancedMs += steps * m_stepMs;
    m_position += double(steps) * m_step;
}

bool ScrollRun::countSecond()
{
    m_seconds += 1;
    return std::fmod(std::floor(m_seconds), 5.0) == 0;
}

ScrollRun::Tick ScrollRun::step(double scrollHeight) const
{
    Tick result;
    // Equality counts as the end: the page runs ahead of the distance.
    if (!(m_position < scrollHeight)) {
        result.reachedEnd = true;
        return result;
    }
    result.scrollBy = m_position;
    return result;
}

void ScrollRun::sample(double scrollHeight)
{
    if (scrollHeight != m_pageHeight) {
        m_pageHeight = scrollHeight;
        return;
    }
    // The page stopped growing: go faster, up to what a 16-bit step holds.
    const int doubled = 2 * int(m_step);
    m_step = qint16(doubled > MaxStep ? MaxStep : doubled);
}
