#pragma once

#include "download/DownloadSummary.h"
#include "picking/PickResult.h"
#include "platform/BrowserPage.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class MesgList;

// One tab: its browser and message list, and what the picks and downloads
// made of it. Commands hold a tab by pointer (QPointer: a tab may close under
// them). Whether a tab holds a result is answered here, never by its
// caption, which a page can set to anything.
class Tab : public QObject
{
    Q_OBJECT
public:
    Tab(BrowserPage *browser, MesgList *mesg, QObject *parent = nullptr);

    BrowserPage *browser() const { return m_browser; }
    MesgList *mesg() const { return m_mesg; }

    bool picking = false;             // a pick of the 采集 button runs here
    bool picked = false;              // a pick recognised its product here: the caption says "Pick:"
    QString pickTitle;                // the cleaned title of that product
    QString pickUrl;
    std::optional<PickResult> result; // the last completed pick of this tab
    bool showingResult = false;       // the result page is what the tab shows now
    QString resultLocation;           // the browser's address while it shows the result page
    bool downloaded = false;
    DownloadSummary lastDownload;     // valid when downloaded

    // A result the user sees and may download.
    bool holdsResult() const { return result && showingResult; }
    // What the address box shows for a page at `location`: while the result
    // is shown, the product's own address, so that copying or keeping it as
    // a favourite gives the product and not the written page.
    QString shownAddress(const QString &location) const { return holdsResult() ? result->address : location; }
    bool hasFailures() const { return downloaded && !lastDownload.failures.isEmpty(); }
    // The tab goes back to being an ordinary browser.
    void dropResult();

    // The caption: a downloaded result says so first ("已下载", with what went
    // wrong in brackets), a pick in progress or its result "Pick:" and the
    // item's title, any other tab the first characters of its page title.
    QString caption(const QString &pageTitle) const;

private:
    QPointer<BrowserPage> m_browser;
    QPointer<MesgList> m_mesg;
};
