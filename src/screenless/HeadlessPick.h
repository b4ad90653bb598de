#pragma once

#include "download/DownloadSummary.h"
#include "picking/PickOutcome.h"

#include <QObject>
#include <QStringList>

class BrowserPage;
class Engine;
class Pick;

// Picks each address in a page of its own from the engine's page host. At most
// MaxRunning picks run at once (each page is a browser process); the other
// addresses wait. Each address is reported as soon as its pick ends, so a
// page that takes long holds back nobody else, and its page closes once it
// has been reported.
class HeadlessPick : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxRunning = 4;

    struct Result
    {
        QString address;      // as given
        bool ended = false;
        bool completed = false;
        PickResult pick;      // what the pick found, when completed
        QString error;
    };

    HeadlessPick(Engine &engine, const QStringList &addresses, QObject *parent = nullptr);

    void start();
    const QList<Result> &results() const { return m_results; }
    bool allCompleted() const;
    // The page's line on standard output: the pick's lists, and when `saved`
    // is given, what saving them came to.
    static QByteArray jsonLine(const Result &result, const DownloadSummary *saved = nullptr);

Q_SIGNALS:
    // The pick of results()[index] has ended, completed or refused.
    void picked(int index);
    // The pick of results()[index] has run `seconds` so far.
    void ticking(int index, int seconds);
    // Every address has been picked.
    void finished();

private:
    void startNext();
    void onEnded(int index, Pick *pick, const PickOutcome &outcome);

    Engine &m_engine;
    QList<Result> m_results;
    int m_next = 0;
    int m_running = 0;
    int m_ended = 0;
};
