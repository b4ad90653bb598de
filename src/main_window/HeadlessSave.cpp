#include "main_window/HeadlessSave.h"

#include "download/DownloadCommand.h"
#include "download/SaveLayout.h"
#include "main_window/MainForm.h"

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

HeadlessSave::HeadlessSave(MainForm &window, QObject *parent) : QObject(parent), m_window(window)
{
#ifdef Q_OS_UNIX
    m_terminal = ::isatty(2);
#else
    m_terminal = false;
#endif
    DownloadCommand &command = window.downloadCommand();
    connect(&command, &DownloadCommand::progressed, this, &HeadlessSave::onProgress);
    connect(&command, &DownloadCommand::tabDownloaded, this, [this](int, const DownloadSummary &summary) {
        if (m_terminal)
            std::fputc('\n', stderr);
        m_summaries.append(summary);
    });
    connect(&command, &DownloadCommand::finished, this, &HeadlessSave::finished);
}

void HeadlessSave::start()
{
    m_window.downloadCommand().DownLoad_B_Click();
    // No result tab: the command ends at once with its message.
    if (!m_window.downloadCommand().isRunning())
        emit finished();
}

void HeadlessSave::onProgress(int browserIndex, int done, int total)
{
    if (!m_terminal) {
        std::fprintf(stderr, "[%d] %s\n", browserIndex, ProgressLine(done, total).toUtf8().constData());
        return;
    }
    const int width = 30;
    const int filled = total > 0 ? done * width / total : width;
    std::fprintf(stderr, "\r[%d] [%s%s] %d/%d %3d%%", browserIndex, std::string(size_t(filled), '#').c_str(),
                 std::string(size_t(width - filled), '.').c_str(), done, total, ProgressPercent(done, total));
    std::fflush(stderr);
}

bool HeadlessSave::anyFailed() const
{
    return std::any_of(m_summaries.begin(), m_summaries.end(), [](const DownloadSummary &s) {
        return s.failed > 0 || s.outcome != DownloadSummary::Outcome::Completed;
    });
}

QString HeadlessSave::summaryLine(const DownloadSummary &summary)
{
    if (summary.outcome == DownloadSummary::Outcome::FolderFailed)
        return summary.line + QStringLiteral(" (") + summary.error + QLatin1Char(')');
    return QStringLiteral("%1\t保存%2张\t丢弃(宽度小于450像素)%3张\t失败%4张")
        .arg(summary.itemFolder)
        .arg(summary.saved)
        .arg(summary.dropped)
        .arg(summary.failed);
}
