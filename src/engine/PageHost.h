#pragma once

#include <QtGlobal>

class BrowserPage;
struct DownloadSummary;
struct PickResult;

// Where the engine opens the browser pages it picks in: the window's tabs
// while a window is there, bare pages of their own without one. The engine
// asks for a page, works in it, and hands it back; what the user sees of it
// is the host's business.
class PageHost
{
public:
    virtual ~PageHost() = default;

    // A new page for one pick; null when none can be opened.
    virtual BrowserPage *openPage() = 0;
    // The engine is done with `page`; it may be gone already.
    virtual void closePage(BrowserPage *page) = 0;
    // `page` needs the user (a verification). Without a screen nobody can come.
    virtual void showToUser(BrowserPage *page) { Q_UNUSED(page) }
    // The user wants to look at a finished pick in its page and save it later.
    virtual void keepResult(BrowserPage *page, const PickResult &result)
    {
        Q_UNUSED(page)
        Q_UNUSED(result)
    }
    // A kept result was saved: the page holds nothing unsaved any more.
    virtual void keptResultSaved(BrowserPage *page, const DownloadSummary &summary)
    {
        Q_UNUSED(page)
        Q_UNUSED(summary)
    }
};
