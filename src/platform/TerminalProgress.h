#pragma once

#include <QString>

#include <cstdio>

// What a run without a window tells the person at the terminal, on standard
// error: one progress bar, redrawn in place, and human lines above it.
// Standard output stays for the JSON lines a script reads. When standard error
// is not a terminal (a log file, a pipe) there is no bar; the lines still go.
class TerminalProgress
{
public:
    // `stream` is where it writes; standard error unless a test gives another.
    explicit TerminalProgress(std::FILE *stream = stderr);
    TerminalProgress(std::FILE *stream, bool terminal);
    ~TerminalProgress();

    bool terminal() const { return m_terminal; }
    // `done` of `total` items have ended; `label` says what runs now.
    void show(int done, int total, const QString &label = {});
    // One line for the reader, printed above the bar; what came from a page
    // in it must have gone through TerminalText.
    void say(const QString &line);
    // Leaves the bar where it stands, the cursor on a line of its own.
    void end();

    static bool isTerminal(std::FILE *stream);

private:
    void clearBar();

    std::FILE *m_stream;
    bool m_terminal;
    QString m_bar; // what is on the bar line now, empty when none is
};
