#pragma once

#include "picking/designs/PageDesigns.h"
#include "platform/Intervals.h"

#include <QObject>
#include <QPointer>

class PageHost;
class PictureFetcher;
class QWebEngineProfile;
class ScreenlessPageHost;

// What a pick and a download need, built once at start and handed to every
// road that picks or saves: the buttons, the batch and the command line. It
// knows no window; a window lends it its tabs as the page host while it lives.
class Engine : public QObject
{
    Q_OBJECT
public:
    // `profile` is the browser profile every page browses on; null in tests
    // whose pages are stand-ins.
    explicit Engine(const Intervals &intervals, QWebEngineProfile *profile = nullptr,
                    QObject *parent = nullptr);
    ~Engine() override;

    const PageDesigns &designs() const { return m_designs; }
    const Intervals &intervals() const { return m_intervals; }
    // The program's one fetcher: its per-host limit holds across all downloads.
    PictureFetcher &fetcher() const { return *m_fetcher; }
    QWebEngineProfile *profile() const { return m_profile; }

    // Where picks open their pages now.
    PageHost &pages() const;
    // A window's tabs take the pages from now on; null gives them back to
    // bare pages without a window.
    void setPageHost(PageHost *host) { m_host = host; }

private:
    const Intervals m_intervals;
    QWebEngineProfile *m_profile;
    PageDesigns m_designs;
    PictureFetcher *m_fetcher;
    ScreenlessPageHost *m_screenless;
    PageHost *m_host = nullptr;
};
