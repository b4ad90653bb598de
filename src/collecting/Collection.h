#pragma once

#include "collecting/OfferList.h"
#include "collecting/PageGathering.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>

class BrowserPage;
class Engine;

// Collects the offers of a list page (a shop's 全部商品, a category, a
// search) and, when asked for more pages, of the pages its 下一页 leads to,
// in a page of the engine's host. A 下一页 link is followed; a 下一页 button
// is pressed and the list's change awaited. It stops at the last page, at the
// page limit, on a page that adds no new offer, on a page seen before, and
// when the bound of the list is reached. Between pages it waits the batch's
// delay; at a verification page it pauses for the user (unless told not to).
class Collection : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Running, Paused, Finished };
    Q_ENUM(State)

    static constexpr int MaxPages = 100;

    explicit Collection(Engine &engine, QObject *parent = nullptr);
    ~Collection() override;

    // How many pages at most (1..MaxPages); one by default.
    void setPages(int pages) { m_maxPages = qBound(1, pages, MaxPages); }
    // The pause before each page after the first, in milliseconds.
    void setDelay(std::function<int()> delayMs) { m_delayMs = std::move(delayMs); }
    // Off without a screen: nobody can pass the check there, and it ends the collection.
    void setPauseOnBlock(bool pause) { m_pauseOnBlock = pause; }

    void start(const QString &address);
    // The user has passed the verification: the page is loaded again.
    void resume();
    void cancel();

    State state() const { return m_state; }
    const QStringList &addresses() const { return m_offers.addresses(); }
    int pagesRead() const { return m_pagesRead; }
    // Why it ended: empty after the last page or the page limit.
    const QString &problem() const { return m_problem; }
    // 共N页，找到M个宝贝地址
    QString summary() const;

Q_SIGNALS:
    void progress(int pagesRead, int found);
    // At a verification page, shown to the user; resume() goes on.
    void paused(const QString &reason);
    void finished();

private:
    void load(const QString &address);
    void gather();
    void dropGathering();
    void onGathered(PageGathering::End end, const ListPage &list, const QString &message);
    void goOn(const ListPage &list);
    void pressNext(const ListPage &before);
    void awaitChange(const ListPage &before);
    void afterDelay(std::function<void()> step);
    void finish(const QString &problem = {});
    bool seen(const QString &url) const;

    Engine &m_engine;
    QPointer<BrowserPage> m_page;
    QPointer<PageGathering> m_gathering;
    OfferList m_offers;
    QSet<QString> m_visited;
    QString m_address;  // the page being read: what resume() loads again
    QString m_problem;
    std::function<int()> m_delayMs;
    QTimer m_wait;
    QElapsedTimer m_changeClock;
    int m_maxPages = 1;
    int m_pagesRead = 0;
    bool m_pauseOnBlock = true;
    bool m_resumed = false;
    State m_state = State::Idle;
};
