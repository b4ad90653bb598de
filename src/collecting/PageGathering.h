#pragma once

#include "picking/ScrollRun.h"
#include "platform/Intervals.h"
#include "platform/ListPage.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class BrowserPage;
struct PageFacts;

// Reads one list page that is on its way into (or already in) a browser page,
// as a pick reads a product page: it waits for the load, stops at a
// verification page, scrolls to the end the way a pick does (offers drawn on
// scroll come then) and reads the page's links. A list has small pictures,
// not a product's long description, so its scroll runs at a few times a
// pick's pace, and at the end it waits a moment for offers appended there.
// The pick's deadline bounds the scroll: past it the page is read as it is,
// and a page that does not answer within the pick's grace gives nothing.
class PageGathering : public QObject
{
    Q_OBJECT
public:
    enum class End { Read, Blocked, Failed };
    Q_ENUM(End)

    // More links than offers: a list links each offer from its picture and its title.
    static constexpr int MaxLinks = 30000;
    // How many times a pick's pace the list scrolls at.
    static constexpr int Pace = 8;

    PageGathering(BrowserPage *page, const Intervals &intervals, QObject *parent = nullptr);

    void start();

Q_SIGNALS:
    void ended(PageGathering::End end, const ListPage &list, const QString &message);

private:
    void poll();
    void judge(const PageFacts &facts);
    void onScrollTick();
    void onHeight(std::optional<double> height);
    void settle(double height);
    void read();
    void finish(End end, const ListPage &list = {}, const QString &message = {});
    bool gone();

    QPointer<BrowserPage> m_page;
    const Intervals m_intervals;
    QTimer m_poll;
    QTimer m_tick;
    QTimer m_deadline;
    QElapsedTimer m_clock;
    QElapsedTimer m_scrollClock;
    ScrollRun m_scroll;
    bool m_tickBusy = false;
    bool m_settling = false;
    bool m_reading = false;
    bool m_ended = false;
};
