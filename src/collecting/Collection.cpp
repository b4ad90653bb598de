#include "collecting/Collection.h"

#include "engine/Engine.h"
#include "engine/PageHost.h"
#include "platform/BrowserPage.h"

#include <QUrl>

#include <utility>

using namespace Qt::StringLiterals;

Collection::Collection(Engine &engine, QObject *parent)
    : QObject(parent), m_engine(engine), m_delayMs([] { return 0; })
{
    m_wait.setSingleShot(true);
}

Collection::~Collection()
{
    if (m_page)
        m_engine.pages().closePage(m_page);
}

QString Collection::summary() const
{
    return u"共%1页，找到%2个宝贝地址"_s.arg(m_pagesRead).arg(m_offers.size());
}

void Collection::start(const QString &address)
{
    if (m_state != State::Idle)
        return;
    m_state = State::Running;
    m_page = m_engine.pages().openPage();
    if (!m_page) {
        // Told later, as every other end is: whoever started it is listening by then.
        QMetaObject::invokeMethod(this, [this] { finish(u"页面无法打开：没有可用的浏览器"_s); }, Qt::QueuedConnection);
        return;
    }
    load(address);
}

void Collection::resume()
{
    if (m_state != State::Paused)
        return;
    m_state = State::Running;
    // The page read again may be one whose offers were all listed before the check.
    m_resumed = true;
    load(m_address);
}

void Collection::cancel()
{
    if (m_state == State::Running || m_state == State::Paused)
        finish(u"采集已取消"_s);
}

void Collection::load(const QString &address)
{
    if (!m_page)
        return finish(u"采集已取消"_s);
    m_address = address;
    m_page->Navigate(address);
    gather();
}

void Collection::gather()
{
    dropGathering();
    m_gathering = new PageGathering(m_page, m_engine.intervals(), this);
    connect(m_gathering, &PageGathering::ended, this, &Collection::onGathered);
    m_gathering->start();
}

// Later: it may be the one telling us of its end just now.
void Collection::dropGathering()
{
    if (!m_gathering)
        return;
    disconnect(m_gathering, nullptr, this, nullptr);
    m_gathering->deleteLater();
    m_gathering = nullptr;
}

void Collection::onGathered(PageGathering::End end, const ListPage &list, const QString &message)
{
    dropGathering();
    if (m_state != State::Running)
        return;
    if (end == PageGathering::End::Failed)
        return finish(message);
    if (end == PageGathering::End::Blocked) {
        if (!m_pauseOnBlock)
            return finish(message);
        m_state = State::Paused;
        m_engine.pages().showToUser(m_page);
        return emit paused(message);
    }
    ++m_pagesRead;
    m_address = list.url;
    m_visited.insert(QUrl(list.url).adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded));
    const int added = m_offers.addPage(list.links, QUrl(list.url));
    const bool resumed = std::exchange(m_resumed, false);
    emit progress(m_pagesRead, m_offers.size());
    if (added == 0 && !resumed)
        return finish(m_pagesRead == 1 ? QString() : u"这一页没有新的宝贝"_s);
    goOn(list);
}

void Collection::finish(const QString &problem)
{
    if (m_state == State::Finished)
        return;
    m_state = State::Finished;
    m_problem = problem;
    m_wait.stop();
    disconnect(&m_wait, nullptr, this, nullptr);
    dropGathering();
    if (m_page)
        m_engine.pages().closePage(m_page);
    m_page = nullptr;
    emit finished();
}
