#include "picking/Pick.h"

#include "picking/CleanName.h"
#include "picking/PageExtractor.h"
#include "picking/designs/BlockedPage.h"
#include "picking/designs/PageDesigns.h"
#include "platform/BrowserPage.h"

#include <QUrl>

const QString Pick::NotProductMessage = QStringLiteral("不是阿里巴巴宝贝地址");
const QString Pick::NavigatedMessage = QStringLiteral("页面在采集过程中跳转到了其它地址，请重新采集。");
const QString Pick::CancelledMessage = QStringLiteral("采集已取消");
const QString Pick::DescriptionNote = QStringLiteral("（描述图未能加载，只采集了主图和SKU图）");
const QString Pick::DeadlineNote = QStringLiteral("（页面在采集时限内没有到底或没有加载完，只采集了已加载的部分）");
const QString Pick::CutShortMessage = QStringLiteral("页面在采集时限内没有读完，请重新采集。");
const QString Pick::NoPicturesMessage = QStringLiteral("页面上没有这件商品的图片");

Pick::Pick(BrowserPage *page, const PageDesigns &designs, const Intervals &intervals, QObject *parent)
    : QObject(parent), m_page(page), m_designs(designs), m_intervals(intervals), m_scroll(intervals.stepMs)
{
    m_poll.setInterval(qMax(1, intervals.accessTickMs / 20));
    connect(&m_poll, &QTimer::timeout, this, &Pick::poll);
    Timer1.setInterval(intervals.scrollTickMs);
    connect(&Timer1, &QTimer::timeout, this, &Pick::onScrollTick);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, &Pick::onDeadline);
}

void Pick::start(const QString &address)
{
    m_clock.start();
    if (gone())
        return;
    m_page->Navigate(address);
    m_poll.start();
    emit progress(0);
}

void Pick::cancel()
{
    end(PickOutcome::Kind::Cancelled, CancelledMessage);
}

// True (and the pick ended) when the page was closed under the pick.
bool Pick::gone()
{
    if (m_page)
        return false;
    end(PickOutcome::Kind::Cancelled, CancelledMessage);
    return true;
}

void Pick::poll()
{
    if (m_ended || gone())
        return;
    const bool ready = m_page->ReadyState() == BrowserPage::ReadyComplete;
    // A page that takes long is judged as it is; one still parsing then gets longer.
    const qint64 waitMs = m_waitingLonger ? m_intervals.pageLoadWaitMs : 3 * qint64(m_intervals.accessTickMs);
    if (!ready && m_clock.elapsed() < waitMs)
        return;
    m_poll.stop();
    // A page judged again once it has loaded counts from then.
    m_pastDeadline = false;
    m_deadline.start(m_intervals.pickDeadlineMs);
    checkPage();
}

// Height, containers and page facts, read one after the other.
void Pick::checkPage()
{
    m_page->readScrollHeight(this, [this](std::optional<double> height) {
        if (m_ended || gone())
            return;
        m_page->readDocument(m_designs.containerIds(), this, [this, height](const DocumentSnapshot &snapshot) {
            if (m_ended || gone())
                return;
            m_page->readPageFacts(m_designs.scriptMarkers(), this, [this, height, snapshot](const PageFacts &facts) {
                if (m_ended || gone())
                    return;
                judge(height, snapshot, facts);
            });
        });
    });
}

void Pick::judge(std::optional<double> height, const DocumentSnapshot &snapshot, const PageFacts &facts)
{
    // A page without a body (or one that did not answer) is no product page.
    const std::optional<PageDesigns::Match> match = height ? m_designs.match(facts, snapshot) : std::nullopt;
    const QString title = CleanName(PageExtractor::GetPageTitle(snapshot));
    if (!match)
        return refuse(facts, height, title);
    follow(*match, title, *height);
}

void Pick::follow(const PageDesigns::Match &match, const QString &title, double height)
{
    m_title = title;
    m_design = match.design;
    m_reader = m_design->readerName();
    const DesignReading &reading = match.reading;
    m_address = m_page->LocationURL();
    m_videoUrl = reading.videoUrl;
    m_product = reading.product;
    // The generic reader knows a product page only once it found its pictures.
    if (m_reader.isEmpty())
        emit identified();
    if (m_ended || gone())
        return;
    if (m_design->scrollsFirst())
        return m_pastDeadline ? complete(true) : startScrolling(height);
    readDescription(reading);
}

void Pick::refuse(const PageFacts &facts, std::optional<double> height, const QString &title)
{
    if (BlockedPage::isBlocked(facts))
        return end(PickOutcome::Kind::NeedsVerification, BlockedPage::Message);
    // A half-parsed page is judged again once it has loaded.
    const bool loading = facts.hasDocument ? !facts.loaded() : m_page->ReadyState() != BrowserPage::ReadyComplete;
    if (loading && !m_waitingLonger) {
        m_waitingLonger = true;
        m_poll.start();
        return;
    }
    if (const QString error = m_page->loadError(); !error.isEmpty())
        return end(PickOutcome::Kind::CouldNotLoad, error);
    // A product address that no named design knows: the generic reader's.
    if (const auto generic = height ? m_designs.matchGeneric(facts, DocumentSnapshot{}) : std::nullopt)
        return follow(*generic, title, *height);
    end(PickOutcome::Kind::NotProduct, NotProductMessage);
}

bool Pick::navigatedAway() const
{
    // A page may change its own #fragment while it scrolls; that is the same page.
    return QUrl(m_page->LocationURL()).adjusted(QUrl::RemoveFragment) != QUrl(m_address).adjusted(QUrl::RemoveFragment);
}

void Pick::picked(PickResult result)
{
    result.title = m_title;
    result.address = m_address;
    result.note = m_note;
    result.cutShort = m_stoppedAtDeadline;
    result.reader = m_reader;
    if (!m_videoUrl.isEmpty())
        result.addresses(MediaKind::Video) = QStringList{m_videoUrl};
    result.product = std::move(m_product);
    end(PickOutcome::Kind::Picked, QString(), result);
}

void Pick::end(PickOutcome::Kind kind, const QString &message, PickResult result)
{
    if (m_ended)
        return;
    m_ended = true;
    Timer1.stop();
    m_poll.stop();
    m_deadline.stop();
    PickOutcome outcome;
    outcome.kind = kind;
    outcome.message = message;
    outcome.result = std::move(result);
    outcome.stoppedAtDeadline = m_stoppedAtDeadline;
    emit ended(outcome);
}
