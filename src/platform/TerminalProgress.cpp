#include "platform/TerminalProgress.h"

#include "base/DisplayText.h"

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
constexpr int BarWidth = 30;
constexpr int LabelWidth = 40; // keeps the bar on one line of a narrow terminal
}

TerminalProgress::TerminalProgress(std::FILE *stream) : TerminalProgress(stream, isTerminal(stream)) {}

TerminalProgress::TerminalProgress(std::FILE *stream, bool terminal) : m_stream(stream), m_terminal(terminal) {}

TerminalProgress::~TerminalProgress()
{
    end();
}

bool TerminalProgress::isTerminal(std::FILE *stream)
{
#ifdef Q_OS_UNIX
    return ::isatty(::fileno(stream));
#else
    Q_UNUSED(stream);
    return false;
#endif
}

void TerminalProgress::show(int done, int total, const QString &label)
{
    if (!m_terminal)
        return;
    const int filled = total > 0 ? qBound(0, done, total) * BarWidth / total : BarWidth;
    QString bar = QStringLiteral("[") + QString(filled, u'#') + QString(BarWidth - filled, u'.')
        + QStringLiteral("] %1/%2").arg(done).arg(total);
    // A page title in the label must not move the cursor or recolour the terminal.
    if (!label.isEmpty())
        bar += QLatin1Char(' ') + TerminalText(label.left(LabelWidth));
    clearBar();
    std::fputs(bar.toUtf8().constData(), m_stream);
    std::fflush(m_stream);
    m_bar = bar;
}

void TerminalProgress::say(const QString &line)
{
    const QString bar = m_bar;
    clearBar();
    std::fprintf(m_stream, "%s\n", line.toUtf8().constData());
    if (!bar.isEmpty()) {
        std::fputs(bar.toUtf8().constData(), m_stream);
        m_bar = bar;
    }
    std::fflush(m_stream);
}

void TerminalProgress::end()
{
    if (m_bar.isEmpty())
        return;
    std::fputc('\n', m_stream);
    std::fflush(m_stream);
    m_bar.clear();
}

void TerminalProgress::clearBar()
{
    if (m_bar.isEmpty())
        return;
    // Back to the start of the line and wipe it: the next text may be shorter.
    std::fputs("\r\x1b[K", m_stream);
    m_bar.clear();
}
