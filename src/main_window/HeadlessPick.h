#pragma once

#include "picking/PickResult.h"

#include <QHash>
#include <QObject>
#include <QStringList>

class MainForm;

// Runs the Pick command of the window for each address the way a user would:
// type the address into a tab's address box and press 采集. At most
// MaxRunning picks run at once (each page is a browser process); the other
// addresses wait. Each address is reported as soon as its pick ends, so a
// page that takes long holds back nobody else.
class HeadlessPick : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxRunning = 4;

    struct Result
    {
        QString address;      // as given
        int browserIndex = -1;
        bool ended = false;
        bool completed = false;
        PickResult pick;      // what the pick found, when completed
        QString error;
    };

    HeadlessPick(MainForm &window, const QStringList &addresses, QObject *parent = nullptr);

    void start();
    const QList<Result> &results() const { return m_results; }
    bool allCompleted() const;
    static QByteArray jsonLine(const Result &result);

Q_SIGNALS:
    // The pick of results()[index] has ended, completed or refused.
    void picked(int index);
    // Every address has been picked.
    void finished();

private:
    void startNext();
    void onResult(int browserIndex, const PickResult &result);
    void onPickEnded(int browserIndex, bool completed, const QString &message);
    void onStatus(int browserIndex, const QString &line);

    MainForm &m_window;
    QList<Result> m_results;
    QHash<int, int> m_resultOfBrowser;  // browser index -> result, while its pick runs
    QHash<int, QString> m_lastStatus;
    int m_next = 0;
    int m_running = 0;
    int m_ended = 0;
};
