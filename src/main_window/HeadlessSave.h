#pragma once

#include "download/DownloadSummary.h"

#include <QHash>
#include <QList>
#include <QObject>

class MainForm;

// The Download command run without a screen, on every result tab, with the
// folder given on the command line. Progress goes to standard error: a bar
// per tab on a terminal, plain lines otherwise.
class HeadlessSave : public QObject
{
    Q_OBJECT
public:
    explicit HeadlessSave(MainForm &window, QObject *parent = nullptr);

    void start();
    const QList<DownloadSummary> &summaries() const { return m_summaries; }
    bool anyFailed() const;
    static QString summaryLine(const DownloadSummary &summary);

Q_SIGNALS:
    void finished();

private:
    void onProgress(int browserIndex, int done, int total);

    MainForm &m_window;
    QList<DownloadSummary> m_summaries;
    bool m_terminal;
};
