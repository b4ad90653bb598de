#include "picking/PickJob.h"

#include "main_window/MainForm.h"
#include "picking/CleanName.h"
#include "picking/ClearList.h"
#include "picking/PageExtractor.h"
#include "picking/PickCommand.h"
#include "picking/ResultPage.h"
#include "picking/designs/BlockedPage.h"
#include "picking/designs/DescriptionFile.h"
#include "picking/designs/PageDesigns.h"
#include "platform/BrowserPage.h"
#include "platform/Dialogs.h"

#include <QListWidget>
#include <QUrl>

const QString PickJob::NavigatedMessage = QStringLiteral("页面在采集过程中跳转到了其它地址，请重新采集。");
const QString PickJob::DescriptionNote = QStringLiteral("（描述图未能加载，只采集了主图和SKU图）");
const QString PickJob::DeadlineNote = QStringLiteral("（页面在采集时限内没有到底或没有加载完，只采集了已加载的部分）");

namespace {
// A description file is a few kilobytes; this is far beyond any real one.
constexpr qint64 MaxDescriptionBytes = 8 * 1024 * 1024;
}

PickJob::PickJob(PickCommand &command, int slot, int browserIndex, int statusRow)
    : QObject(&command), m_command(command), m_slot(slot), m_browserIndex(browserIndex),
      m_statusRow(statusRow), m_browser(command.window().tabs().browser(browserIndex)),
      m_designs(command.designs())
{
    const Intervals &intervals = command.window().services().intervals;
    m_pagePoll.setInterval(qMax(1, intervals.accessTickMs / 20));
    connect(&m_pagePoll, &QTimer::timeout, this, &PickJob::pollPage);
    Timer1.setInterval(intervals.scrollTickMs);
    connect(&Timer1, &QTimer::timeout, this, &PickJob::onScrollTick);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(intervals.pickDeadlineMs);
    connect(&m_deadline, &QTimer::timeout, this, [this] { complete(true); });
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
    m_sinceStart.start();
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
    const bool waitOver = m_waitingLonger ? m_sinceStart.elapsed() >= m_command.window().services().intervals.pageLoadWaitMs
                                          : m_command.window().AccessTicks > 2;
    if (!ready && !waitOver) {
        setStatus(m_statusRow, PickCommand::PickStatus(m_command.pickSlots().PickSeconds[m_slot]));
        return;
    }
    m_pagePoll.stop();
    if (m_waiting) {
        m_waiting = false;
        m_command.endPageWait();
    }
    checkPage();
}

// Height, containers and page facts, read one after the other.
void PickJob::checkPage()
{
    m_browser->readScrollHeight(this, [this](std::optional<double> height) {
        if (m_finished || !m_browser)
            return finish(false, QString());
        if (height)
            m_command.pickSlots().PageHeight[m_slot] = *height;
        m_browser->readDocument(PageExtractor::ContainerIds(), this, [this, height](const DocumentSnapshot &snapshot) {
            if (m_finished || !m_browser)
                return finish(false, QString());
            m_browser->readPageFacts(m_designs.scriptMarkers(), this, [this, height, snapshot](const PageFacts &facts) {
                if (m_finished || !m_browser)
                    return finish(false, QString());
                judge(height, snapshot, facts);
            });
        });
    });
}

void PickJob::judge(std::optional<double> height, const DocumentSnapshot &snapshot, const PageFacts &facts)
{
    // A page without a body (or one that did not answer) is no product page.
    const std::optional<DesignReading> reading = height ? m_designs.read(facts, snapshot) : std::nullopt;
    if (!reading) {
        if (BlockedPage::isBlocked(facts))
            return refuse(BlockedPage::Message, false);
        // A half-parsed page is judged again once it has loaded.
        const bool loading = facts.hasDocument ? !facts.loaded() : m_browser->ReadyState() != BrowserPage::ReadyComplete;
        if (loading && !m_waitingLonger)
            return waitLonger();
        return refuse(QStringLiteral("不是阿里巴巴宝贝地址"), true);
    }
    TabBook &book = m_command.window().tabs().book();
    book.PickTitle[m_browserIndex] = CleanName(PageExtractor::GetPageTitle(snapshot));
    book.PickUrl[m_browserIndex] = m_browser->LocationURL();
    if (reading->scrollContainers)
        return startScrolling();
    startDataPick(*reading);
}

void PickJob::waitLonger()
{
    m_waitingLonger = true;
    m_pagePoll.start();
}

void PickJob::startScrolling()
{
    m_command.pickSlots().startScrolling(m_slot);
    m_command.startThread(m_slot, m_browserIndex);
    Timer1.start();
    m_deadline.start();
    m_command.window().tabs().book().PickedTabs.append(m_browserIndex);
}

void PickJob::onScrollTick()
{
    if (m_finished || m_completing)
        return;
    if (!m_browser)
        return finish(false, QString());
    if (navigatedAway(m_browser->LocationURL()))
        return refuse(NavigatedMessage, true);
    // The seconds and the samples keep real time while a height read is under way.
    PickSlots &pickSlots = m_command.pickSlots();
    if (pickSlots.countSecond(m_slot))
        m_browser->readScrollHeight(this, [this](std::optional<double> sample) {
            if (sample && !m_finished)
                m_command.pickSlots().sample(m_slot, *sample);
        });
    setStatus(0, PickCommand::PickStatus(pickSlots.PickSeconds[m_slot]));
    if (m_tickBusy)
        return;
    m_tickBusy = true;
    m_browser->readScrollHeight(this, [this](std::optional<double> height) { onHeight(height); });
}

void PickJob::onHeight(std::optional<double> height)
{
    m_tickBusy = false;
    if (m_finished || m_completing)
        return;
    if (!m_browser)
        return finish(false, QString());
    // A read that failed says nothing about the page's end: the next tick asks again.
    if (!height)
        return;
    if (*height > MaxPageHeight)
        return complete(true);
    const PickSlots::Tick tick = m_command.pickSlots().step(m_slot, *height);
    if (tick.reachedEnd)
        return complete(false);
    m_browser->scrollBy(0, tick.scrollBy);
}

// At the end of the page, or at the deadline. A page still parsing is not
// read yet: its last pictures may still be on their way.
void PickJob::complete(bool atDeadline)
{
    if (m_finished || m_completing || !m_browser)
        return;
    m_completing = true;
    m_browser->readPageFacts({}, this, [this, atDeadline](const PageFacts &facts) {
        if (m_finished || !m_browser)
            return finish(false, QString());
        if (!atDeadline && facts.hasDocument && facts.readyState == QLatin1String("loading")) {
            m_completing = false;
            return;
        }
        if (atDeadline)
            m_note = DeadlineNote;
        readContainers();
    });
}

void PickJob::readContainers()
{
    Timer1.stop();
    m_deadline.stop();
    m_command.pickSlots().stopScrolling(m_slot);
    m_browser->readDocument(PageExtractor::ContainerIds(), this, [this](const DocumentSnapshot &snapshot) {
        if (m_finished || !m_browser)
            return finish(false, QString());
        if (navigatedAway(m_browser->LocationURL()))
            return refuse(NavigatedMessage, true);
        PicLists &lists = m_command.lists();
        PageExtractor::ExtractPics(snapshot, 1, m_browserIndex, false, lists);
        PickResult result;
        result.mainPics = lists.MainPics(m_browserIndex);
        result.descPics = lists.DescPics(m_browserIndex);
        writeResult(result);
    });
}

void PickJob::startDataPick(const DesignReading &reading)
{
    m_reading = reading;
    m_command.window().tabs().book().PickedTabs.append(m_browserIndex);
    const QUrl detail(reading.detailUrl);
    m_browser->fetchFile(detail, m_command.window().services().intervals.fetchStallMs, MaxDescriptionBytes, this,
                         [this](std::optional<QByteArray> file) { onDescription(file); });
}

void PickJob::onDescription(const std::optional<QByteArray> &file)
{
    // Everything here was read from the page at PickUrl before it could go
    // anywhere: a page that moves on now (a mobile page sending a desktop
    // browser to its desktop twin) does not change the result.
    if (m_finished || !m_browser)
        return finish(false, QString());
    const std::optional<QStringList> pictures = file ? DescriptionFile::pictures(*file) : std::nullopt;
    if (!pictures)
        m_note = DescriptionNote;
    PickResult result;
    result.mainPics = m_reading.mainPics;
    result.skuPics = m_reading.skuPics;
    result.skuNames = m_reading.skuNames;
    result.descPics = pictures.value_or(QStringList());
    result.descriptionMissing = !pictures.has_value();
    writeResult(result);
}

void PickJob::writeResult(PickResult result)
{
    const int b = m_browserIndex;
    const TabBook &book = m_command.window().tabs().book();
    result.title = book.PickTitle.value(b);
    result.address = book.PickUrl.value(b);
    result.note = m_note;
    QPointer<PickJob> self(this);
    emit m_command.resultReady(b, result);
    if (!self || m_finished || !m_browser)
        return;
    m_browser->writePage(ResultPage::pieces(result), this, [this, b](bool written) {
        PicLists &lists = m_command.lists();
        ClearList(lists.MainPics(b));
        ClearList(lists.DescPics(b));
        const QString done = m_note.isEmpty() ? PickCommand::CompletedLine : PickCommand::CompletedLine + m_note;
        setStatus(0, written ? done : QStringLiteral("消息提示:采集结果页面未能显示，请重新采集。"));
        finish(written, QString());
    });
}

bool PickJob::navigatedAway(const QString &address) const
{
    const QString picked = m_command.window().tabs().book().PickUrl.value(m_browserIndex);
    // A page may change its own #fragment while it scrolls; that is the same page.
    return QUrl(address).adjusted(QUrl::RemoveFragment) != QUrl(picked).adjusted(QUrl::RemoveFragment);
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
    m_deadline.stop();
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
