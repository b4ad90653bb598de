#include "engine/Engine.h"

#include "download/PictureFetcher.h"
#include "engine/ScreenlessPageHost.h"

#include <QNetworkAccessManager>

Engine::Engine(const Intervals &intervals, QWebEngineProfile *profile, QObject *parent)
    : QObject(parent), m_intervals(intervals), m_profile(profile),
      m_fetcher(new PictureFetcher(new QNetworkAccessManager(this), this)),
      m_screenless(new ScreenlessPageHost(profile, this))
{
    m_fetcher->setStallTimeout(m_intervals.fetchStallMs);
}

Engine::~Engine() = default;

PageHost &Engine::pages() const
{
    return m_host ? *m_host : *m_screenless;
}
