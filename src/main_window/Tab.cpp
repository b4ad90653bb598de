#include "main_window/Tab.h"

#include "download/FolderNaming.h"
#include "main_window/MesgList.h"
#include "main_window/ResultMarks.h"
#include "picking/CleanName.h"
#include "picking/ResultPage.h"
#include "platform/BrowserPage.h"

Tab::Tab(BrowserPage *browser, MesgList *mesg, QObject *parent)
    : QObject(parent), m_browser(browser), m_mesg(mesg), m_marks(new ResultMarks(browser, this))
{
    // Connected before anyone else's handlers: whoever draws the caption on
    // the same change finds the tab's state already up to date.
    if (browser) {
        connect(browser, &BrowserPage::TitleChange, this, &Tab::checkLeftResult);
        connect(browser, &BrowserPage::DownloadComplete, this, &Tab::checkLeftResult);
        // Only our own page has such links; on any other the click does nothing.
        connect(browser, &BrowserPage::OwnLinkClicked, this, [this](const QString &path) {
            if (m_result)
                m_marks->clicked(path);
        });
    }
}

const SaveChoice &Tab::choice() const
{
    return m_marks->choice();
}

BrowserPage *Tab::browser() const
{
    return m_browser;
}

MesgList *Tab::mesg() const
{
    return m_mesg;
}

void Tab::markPicked(const QString &title, const QString &address)
{
    m_pickTitle = title;
    m_pickUrl = address;
    m_picked = true;
}

void Tab::showResult(const PickResult &result, WrittenCallback done)
{
    dropResult();
    if (!m_browser) {
        if (done)
            done(false);
        return;
    }
    const int serial = m_resultSerial;
    m_resultWriting = true;
    m_browser->writePage(ResultPage::pieces(result), this, [this, serial, result, done](bool written) {
        // Dropped meanwhile (the tab closed, or another result came): the page is no longer this result's.
        if (serial == m_resultSerial) {
            m_resultWriting = false;
            onResultWritten(result, written);
        }
        if (done)
            done(written);
    });
}

void Tab::onResultWritten(const PickResult &result, bool written)
{
    if (!written || !m_browser) {
        m_lastDownload.reset();
        return;
    }
    m_result = result;
    m_resultLocation = m_browser->LocationURL();
    m_marks->begin(result, m_rules ? m_rules() : SaveChoice());
    emit captionChanged();
    emit shownAddressChanged();
}

bool Tab::redrawResult()
{
    if (!m_result || !m_browser)
        return false;
    // The whole result, SKU section included, as the pick first wrote it, every tick afresh.
    m_marks->end();
    m_browser->writePage(ResultPage::pieces(*m_result), this, [this](bool written) {
        // The write went through about:blank; whatever address it ends on is the result's.
        if (written && m_browser && m_result) {
            m_resultLocation = m_browser->LocationURL();
            m_marks->begin(*m_result, m_rules ? m_rules() : SaveChoice());
        }
        emit captionChanged();
        emit shownAddressChanged();
    });
    return true;
}

void Tab::dropResult()
{
    ++m_resultSerial;
    m_resultWriting = false;
    m_result.reset();
    m_lastDownload.reset();
    m_marks->end();
}

void Tab::markDownloaded(const DownloadSummary &summary)
{
    // The batch may save a kept result before its page has been written.
    if (!m_result && !m_resultWriting)
        return;
    m_lastDownload = summary;
    if (m_mesg)
        m_mesg->setRetryOffered(!summary.failures.isEmpty() && !summary.itemFolder.isEmpty());
    emit captionChanged();
}

void Tab::checkLeftResult()
{
    if (!m_result || !m_browser || m_browser->LocationURL() == m_resultLocation)
        return;
    // Typed address, 主页, a link or back: whatever the page is now, it is not
    // the result, so the caption follows its title and Pick may run here.
    dropResult();
    m_picked = false;
    if (m_mesg)
        m_mesg->clearCounts();
    emit captionChanged();
}

namespace {
// The site's name ends nearly every title: the strip has no room for it.
QString shortTitle(const QString &title)
{
    return FolderNaming::withoutSiteName(title).left(Tab::CaptionChars);
}
}

QString Tab::caption(const QString &pageTitle) const
{
    if (m_result && m_lastDownload) {
        QString mark;
        if (m_lastDownload->failed > 0)
            mark = QStringLiteral("(%1张失败)").arg(m_lastDownload->failed);
        else if (m_lastDownload->saved == 0)
            mark = QStringLiteral("(无图片)");
        return QStringLiteral("已下载") + mark + QLatin1Char(':') + CleanName(shortTitle(m_result->title));
    }
    // The cut comes before the cleaning, so a caption may be shorter than the cut.
    if (m_picked)
        return QStringLiteral("Pick:") + CleanName(shortTitle(m_pickTitle));
    return CleanName(shortTitle(pageTitle));
}

QString Tab::fullTitle(const QString &pageTitle) const
{
    if (m_result)
        return CleanName(m_result->title);
    return CleanName(m_picked ? m_pickTitle : pageTitle);
}
