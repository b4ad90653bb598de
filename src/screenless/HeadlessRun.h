#pragma once

#include "screenless/HeadlessPick.h"
#include "screenless/HeadlessSave.h"

#include <QObject>

#include <optional>

class Engine;
class TerminalProgress;

// `pictorra --pick URL … [--save DIR]`: one JSON line per page on standard
// output, printed when the page is done with (picked, or picked and saved,
// the save's outcome in the same line), and the human side on `progress`:
// the bar, what went wrong, and a closing summary.
class HeadlessRun : public QObject
{
    Q_OBJECT
public:
    // `saveFolder` empty: pick only; `choice` says what each item keeps.
    HeadlessRun(Engine &engine, const QStringList &addresses, const QString &saveFolder,
                TerminalProgress &progress, const SaveChoice &choice = SaveChoice(), QObject *parent = nullptr);

    // Runs the event loop until every page has its line. The exit code: 0
    // when every page was picked (and saved whole), 1 otherwise.
    int exec();

private:
    void onPicked(int index);
    void onSaved(int index, const DownloadSummary &summary);
    void pageDone();
    void redraw();
    QString summary() const;

    HeadlessPick m_pick;
    std::optional<HeadlessSave> m_save;
    TerminalProgress &m_progress;
    QString m_label;
    int m_printed = 0;
    int m_picked = 0;
    int m_saved = 0;
    int m_dropped = 0;
    int m_failed = 0;
    bool m_allWell = true;
};
