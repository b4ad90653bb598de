#pragma once

#include <QObject>
#include <QStringList>

#include <QHash>

class MainForm;

// Runs the Pick command of the window for each address, all at once, the way
// a user would: type the address into a tab's address box and press 采集.
// When every pick has ended, each result page is read back as the download
// would read it.
class HeadlessPick : public QObject
{
    Q_OBJECT
public:
    struct Result
    {
        QString address;      // as given
        int browserIndex = -1;
        bool completed = false;
        QString url;          // PickUrl
        QString title;        // PickTitle
        QStringList main;
        QStringList desc;
        QString error;
    };

    HeadlessPick(MainForm &window, const QStringList &addresses, QObject *parent = nullptr);

    void start();
    const QList<Result> &results() const { return m_results; }
    bool allCompleted() const;
    static QByteArray jsonLine(const Result &result);

Q_SIGNALS:
    void finished();

private:
    void onPickEnded(int browserIndex, bool completed, const QString &message);
    void onStatus(int browserIndex, const QString &line);
    void readNext(int index);

    MainForm &m_window;
    QList<Result> m_results;
    QHash<int, int> m_resultOfBrowser;
    QHash<int, QString> m_lastStatus;
    int m_open = 0;
    bool m_started = false;
};
