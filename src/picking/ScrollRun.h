#pragma once

#include <QtGlobal>

// How a pick scrolls a page of the old design to its end: the distance grows
// by the step every `stepMs` of real time; every tick scrolls by the whole
// distance until it reaches the page's height. Every fifth tick the height is
// sampled: a page that stopped growing gets a doubled step.
class ScrollRun
{
public:
    static constexpr double FirstStep = 10;
    static constexpr qint16 MaxStep = 32767;

    // What one scroll tick decided.
    struct Tick
    {
        bool reachedEnd = false;
        double scrollBy = 0;  // how far to scroll the page down now
    };

    explicit ScrollRun(int stepMs) : m_stepMs(qMax(1, stepMs)) {}

    // Distance 0, the first step, the page as high as it is now.
    void start(double pageHeight);
    // The distance grows by the step for every whole `stepMs` since the last call.
    void ScorllStepAdd(qint64 elapsedMs);
    // One more second counted; true when a height sample is due.
    bool countSecond();
    Tick step(double scrollHeight) const;
    void sample(double scrollHeight);

    double seconds() const { return m_seconds; }
    double distance() const { return m_position; }
    qint16 stepSize() const { return m_step; }
    double pageHeight() const { return m_pageHeight; }

private:
    int m_stepMs;
    qint64 m_advancedMs = 0;
    double m_position = 0;
    qint16 m_step = qint16(FirstStep);
    double m_seconds = 0;
    double m_pageHeight = 0;
};
