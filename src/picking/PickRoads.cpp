// The two roads a recognised page goes: scrolled to its end and read again
// (pictures that load only in view), or completed by its description file.
#include "picking/Pick.h"

#include "picking/designs/DescriptionFile.h"
#include "picking/designs/PageDesign.h"
#include "picking/designs/PictureAddress.h"
#include "platform/BrowserPage.h"

namespace {
// A description file is a few kilobytes; this is far beyond any real one.
constexpr qint64 MaxDescriptionBytes = 8 * 1024 * 1024;
}

void Pick::startScrolling(double height)
{
    m_scroll.start(height);
    m_scrollClock.start();
    Timer1.start();
}

// Past the deadline every road reads what the page has now; the grace bounds
// that last read, and a page that has not answered by then ends the pick.
void Pick::onDeadline()
{
    if (m_ended || gone())
        return;
    if (m_pastDeadline)
        return end(PickOutcome::Kind::CouldNotLoad, CutShortMessage);
    m_pastDeadline = true;
    m_deadline.start(m_intervals.pickGraceMs);
    if (!m_design)
        return;  // still judging the page: its road starts cut short
    if (m_design->scrollsFirst())
        return complete(true);
    cutDescription();
}

void Pick::onScrollTick()
{
    if (m_ended || m_completing || gone())
        return;
    if (navigatedAway())
        return end(PickOutcome::Kind::NavigatedAway, NavigatedMessage);
    m_scroll.ScorllStepAdd(m_scrollClock.elapsed());
    // The seconds and the samples keep real time while a height read is under way.
    if (m_scroll.countSecond())
        m_page->readScrollHeight(this, [this](std::optional<double> sample) {
            if (sample && !m_ended)
                m_scroll.sample(*sample);
        });
    emit progress(elapsedSeconds());
    if (m_tickBusy || m_ended)
        return;
    m_tickBusy = true;
    m_page->readScrollHeight(this, [this](std::optional<double> height) { onHeight(height); });
}

void Pick::onHeight(std::optional<double> height)
{
    m_tickBusy = false;
    if (m_ended || m_completing || gone())
        return;
    // A read that failed says nothing about the page's end: the next tick asks again.
    if (!height)
        return;
    if (*height > MaxPageHeight)
        return complete(true);
    const ScrollRun::Tick tick = m_scroll.step(*height);
    if (tick.reachedEnd)
        return complete(false);
    m_page->scrollBy(0, tick.scrollBy);
}

// At the end of the page, or at the deadline. A page still parsing is not
// read yet: its last pictures may still be on their way.
void Pick::complete(bool atDeadline)
{
    if (m_ended || m_completing || gone())
        return;
    m_completing = true;
    m_page->readPageFacts({}, this, [this, atDeadline](const PageFacts &facts) {
        if (m_ended || gone())
            return;
        const bool cut = atDeadline || m_pastDeadline;
        if (!cut && facts.hasDocument && facts.readyState == QLatin1String("loading")) {
            m_completing = false;
            return;
        }
        if (cut) {
            m_note = DeadlineNote;
            m_stoppedAtDeadline = true;
        }
        readScrolledPage();
    });
}

void Pick::readScrolledPage()
{
    Timer1.stop();
    if (m_design->readsRenderedPage())
        return readRenderedPage();
    m_page->readDocument(m_design->containerIds(), this, [this](const DocumentSnapshot &snapshot) {
        if (m_ended || gone())
            return;
        if (navigatedAway())
            return end(PickOutcome::Kind::NavigatedAway, NavigatedMessage);
        PickResult result;
        m_design->readScrolled(snapshot, result);
        picked(result);
    });
}

void Pick::readDescription(const DesignReading &reading)
{
    // Everything else was read from the page at address() before it could go
    // anywhere: a page that moves on now (a mobile page sending a desktop
    // browser to its desktop twin) does not change the result.
    m_described.media = reading.media;
    if (m_pastDeadline)
        return cutDescription();
    m_page->fetchFile(QUrl(reading.detailUrl), m_intervals.fetchStallMs, MaxDescriptionBytes, this,
                      [this](std::optional<QByteArray> file) {
                          if (m_ended || gone())
                              return;
                          const QString scheme = PictureAddress::schemeOf(m_address);
                          // A design we do not know may answer in any format.
                          const std::optional<QStringList> pictures = !file ? std::nullopt
                              : m_reader.isEmpty() ? DescriptionFile::pictures(*file, scheme) : DescriptionFile::anyPictures(*file, scheme);
                          if (!pictures)
                              m_note = DescriptionNote;
                          PickResult result = m_described;
                          result.addresses(MediaKind::Description) = pictures.value_or(QStringList());
                          result.descriptionMissing = !pictures.has_value();
                          picked(result);
                      });
}

// The file did not come in time: the item stays incomplete until a later run reads it.
void Pick::cutDescription()
{
    m_note = DeadlineNote;
    m_stoppedAtDeadline = true;
    PickResult result = m_described;
    result.descriptionMissing = true;
    picked(result);
}
