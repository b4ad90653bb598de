#pragma once

#include "download/DownloadSummary.h"
#include "download/SaveChoice.h"
#include "picking/PickResult.h"
#include "platform/BrowserPage.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class MesgList;
class ResultMarks;

// One tab: its browser and message list, and what the picks and downloads
// made of it. Commands hold a tab by pointer (QPointer: a tab may close under
// them). Whether a tab holds a result is answered here, never by its
// caption, which a page can set to anything. Only the tab writes its result
// page, so a result is held exactly while its page is what the tab shows.
class Tab : public QObject
{
    Q_OBJECT
public:
    using WrittenCallback = std::function<void(bool written)>;

    Tab(BrowserPage *browser, MesgList *mesg, QObject *parent = nullptr);

    // Out of line: the includers need not know either class.
    BrowserPage *browser() const;
    MesgList *mesg() const;

    // A pick of the 采集 button runs here: the tab does not close meanwhile.
    void startPicking() { m_picking = true; }
    void stopPicking() { m_picking = false; }
    bool isPicking() const { return m_picking; }

    // A pick recognised the product `title` at `address`: from the next
    // title change on, the caption says "Pick:" and the title.
    void markPicked(const QString &title, const QString &address);
    // The caption follows the page's title again from its next change.
    void forgetPick() { m_picked = false; }
    bool isPicked() const { return m_picked; }
    QString pickedTitle() const { return m_pickTitle; }
    QString pickedAddress() const { return m_pickUrl; }

    // Writes the result page of `result` and holds `result` once the page
    // shows; until then, and when it cannot be written, the tab holds none.
    void showResult(const PickResult &result, WrittenCallback done = {});
    // Writes the held result's page again (刷新 on a result: the page was
    // written, a reload would blank it). False when the tab holds no result.
    bool redrawResult();
    // The result the user sees and may download; nullptr when none.
    const PickResult *result() const { return m_result ? &*m_result : nullptr; }
    bool holdsResult() const { return m_result.has_value(); }
    // The tab goes back to being an ordinary browser; the views learn it at
    // the page's next change.
    void dropResult();

    // What the user ticked on the held result's page, over the rules of 选项
    // (see ResultMarks); a new result or 刷新 starts afresh.
    const SaveChoice &choice() const;
    ResultMarks *marks() const { return m_marks; }
    // Where the rules of a new result page come from (选项); the default rules without.
    void setRulesSource(std::function<SaveChoice()> rules) { m_rules = std::move(rules); }

    // A download of the held result ended with `summary`.
    void markDownloaded(const DownloadSummary &summary);
    // The last download of the held result; nullptr when there was none.
    const DownloadSummary *lastDownload() const { return m_lastDownload ? &*m_lastDownload : nullptr; }
    bool hasFailures() const { return m_lastDownload && !m_lastDownload->failures.isEmpty(); }

    // What the address box shows for a page at `location`: while the result
    // is shown, the product's own address, so that copying or keeping it as
    // a favourite gives the product and not the written page.
    QString shownAddress(const QString &location) const { return m_result ? m_result->address : location; }
    // The caption: a downloaded result says so first ("已下载", with what went
    // wrong in brackets), a pick in progress or its result "Pick:" and the
    // item's title, any other tab its page title, without the site's name at
    // the end; the strip shows what fits.
    QString caption(const QString &pageTitle) const;
    // The whole title behind the caption, for the strip's tool tip.
    QString fullTitle(const QString &pageTitle) const;
    // Longer captions than this never fit the strip.
    static constexpr int CaptionChars = 40;

Q_SIGNALS:
    // The caption must be drawn again now, not at the page's next title change.
    void captionChanged();
    // The tab began to show its result: the address box shows the product's address.
    void shownAddressChanged();

private:
    void onResultWritten(const PickResult &result, bool written);
    // The page changed: when it is no longer the result page, the tab is an
    // ordinary browser again.
    void checkLeftResult();

    QPointer<BrowserPage> m_browser;
    QPointer<MesgList> m_mesg;
    bool m_picking = false;
    bool m_picked = false;
    QString m_pickTitle;
    QString m_pickUrl;
    std::optional<PickResult> m_result;             // held while its page is shown
    QString m_resultLocation;                       // the browser's address while it shows that page
    std::optional<DownloadSummary> m_lastDownload;  // of the held result
    ResultMarks *m_marks;                           // the ticks of the held result's page
    std::function<SaveChoice()> m_rules;
    bool m_resultWriting = false;                   // showResult's page is being written
    int m_resultSerial = 0;                         // counts the drops: a write finishing late is stale
};
