#pragma once

// Timer periods of the program, in milliseconds. Tests shrink them to keep the
// same sequence of events in less wall time.
struct Intervals
{
    int stepMs = 20;           // a pick's scroll distance grows by its step this often
    int scrollTickMs = 1000;   // Timer1: one scroll step and one counted second of a pick
    int accessTickMs = 1000;   // a page is waited for three of these before it is judged
    int fetchStallMs = 30000;  // a picture fetch that sends nothing for this long fails
    int pageLoadWaitMs = 30000;   // a page still loading is waited for this long before it is judged
    // A pick ends this long after its page has loaded, whatever it is doing
    // then: it reads what the page has (scrolled or not, description or not).
    int pickDeadlineMs = 60000;
    int pickGraceMs = 10000;  // the last read past the deadline; a page that does not answer is given up

    static Intervals scaled(double factor)
    {
        Intervals i;
        auto scale = [factor](int ms) { return ms * factor < 1 ? 1 : int(ms * factor); };
        i.stepMs = scale(i.stepMs);
        i.scrollTickMs = scale(i.scrollTickMs);
        i.accessTickMs = scale(i.accessTickMs);
        i.fetchStallMs = scale(i.fetchStallMs);
        i.pageLoadWaitMs = scale(i.pageLoadWaitMs);
        i.pickDeadlineMs = scale(i.pickDeadlineMs);
        i.pickGraceMs = scale(i.pickGraceMs);
        return i;
    }
};
