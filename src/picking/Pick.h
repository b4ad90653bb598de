#pragma once

#include "picking/PickOutcome.h"
#include "picking/ScrollRun.h"
#include "picking/designs/PageDesigns.h"
#include "platform/BrowserPage.h"
#include "platform/Intervals.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class PageDesign;
struct DocumentSnapshot;
struct PageFacts;

// One pick of one page: loads the address, waits for the page, asks the
// designs what it is and goes the recognised design's road (scroll, then
// read the page; or read the description file), and ends with an outcome.
// It knows the page only: whoever started it shows the outcome. Every step
// re-checks that the page still exists, since anything may run in between.
// One deadline, from the end of loading, bounds the whole pick: past it the
// pick reads what the page has, and a page that does not answer even then
// ends it unpicked.
class Pick : public QObject
{
    Q_OBJECT
public:
    static const QString NotProductMessage;
    static const QString NavigatedMessage;
    static const QString CancelledMessage;
    static const QString DescriptionNote;
    static const QString DeadlineNote;
    static const QString CutShortMessage;
    static const QString NoPicturesMessage;
    // Taller than any real product page: a page past it keeps growing by itself.
    static constexpr double MaxPageHeight = 500000;

    Pick(BrowserPage *page, const PageDesigns &designs, const Intervals &intervals, QObject *parent = nullptr);

    // Navigates the page to `address`; the pick runs from the event loop.
    void start(const QString &address);
    // Ends the pick now with Cancelled (nothing when it has ended already).
    void cancel();

    BrowserPage *page() const { return m_page; }
    // The product's cleaned title and address once the page was recognised.
    const QString &title() const { return m_title; }
    const QString &address() const { return m_address; }
    int elapsedSeconds() const { return int(m_scroll.seconds()); }
    bool hasEnded() const { return m_ended; }

Q_SIGNALS:
    // The seconds counted while the page scrolls (0 while it loads).
    void progress(int seconds);
    // The page is a product page: title() and address() are known now (for
    // the generic reader: once it found the offer's pictures).
    void identified();
    void ended(const PickOutcome &outcome);

private:
    void poll();
    void checkPage();
    void judge(std::optional<double> height, const DocumentSnapshot &snapshot, const PageFacts &facts);
    void refuse(const PageFacts &facts, std::optional<double> height, const QString &title);
    void follow(const PageDesigns::Match &match, const QString &title, double height);
    void readRenderedPage();
    void readGeneric(const DocumentSnapshot &snapshot);
    void startScrolling(double height);
    void onScrollTick();
    void onHeight(std::optional<double> height);
    void onDeadline();
    void complete(bool atDeadline);
    void readScrolledPage();
    void readDescription(const DesignReading &reading);
    void cutDescription();
    void picked(PickResult result);
    bool navigatedAway() const;
    bool gone();
    void end(PickOutcome::Kind kind, const QString &message, PickResult result = {});

    QPointer<BrowserPage> m_page;
    const PageDesigns &m_designs;
    const Intervals m_intervals;
    const PageDesign *m_design = nullptr;
    QTimer m_poll;
    QTimer Timer1;
    QTimer m_deadline;
    QElapsedTimer m_clock;
    QElapsedTimer m_scrollClock;
    ScrollRun m_scroll;
    QString m_title;
    QString m_address;
    QString m_note;
    // Read with the page's design when it was recognised: both roads hand them on.
    QString m_videoUrl;
    ProductData m_product;
    QString m_reader;       // PickResult::reader
    PickResult m_described;  // the description road's result while its file is fetched
    bool m_stoppedAtDeadline = false;
    bool m_pastDeadline = false;
    bool m_waitingLonger = false;
    bool m_tickBusy = false;
    bool m_completing = false;
    bool m_ended = false;  // answers still under way are dropped
};
