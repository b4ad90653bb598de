#pragma once

#include "download/DownloadSummary.h"
#include "picking/PickResult.h"

#include <QPointer>
#include <QString>

#include <optional>

class BrowserPage;
class MesgList;
class TabBook;

// Everything one tab is: its browser and message list, and what the picks
// and downloads made of it. Whether a tab holds a result is answered here,
// never by its caption, which a page can set to anything.
struct TabState
{
    QString key;                      // "t<n>": names the tab while positions shift
    QPointer<BrowserPage> browser;
    QPointer<MesgList> mesg;
    std::optional<PickResult> result; // the last completed pick of this tab
    bool showingResult = false;       // the result page is what the tab shows now
    QString resultLocation;           // the browser's address while it shows the result page
    bool downloaded = false;
    DownloadSummary lastDownload;     // valid when downloaded

    // A result the user sees and may download.
    bool holdsResult() const { return result && showingResult; }
    bool hasFailures() const { return downloaded && !lastDownload.failures.isEmpty(); }
    // The tab goes back to being an ordinary browser.
    void dropResult();

    // The caption: a downloaded result says so first ("已下载", with what went
    // wrong in brackets), a pick in progress or its result "Pick:" and the
    // item's title, any other tab the first characters of its page title.
    QString caption(const TabBook &book, int n, const QString &pageTitle) const;
};
