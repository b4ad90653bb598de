#include "main_window/HeadlessSave.h"

#include "download/PictureFetcher.h"
#include "download/SaveLayout.h"
#include "download/TabDownload.h"
#include "picking/CleanName.h"

#include <QPointer>

#include <cstdio>
#include <string>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

HeadlessSave::HeadlessSave(const QString &folder, PictureFetcher &fetcher, QObject *parent)
    : QObject(parent), m_folder(folder), m_fetcher(&fetcher)
{
#ifdef Q_OS_UNIX
    m_terminal = ::isatty(2);
#else
    m_terminal = false;
#endif
}

void HeadlessSave::save(int id, const PickResult &result)
{
    m_waiting.enqueue({id, result});
    startNext();
}

void HeadlessSave::startNext()
{
    if (m_running >= MaxRunning || m_waiting.isEmpty())
        return;
    const auto [id, result] = m_waiting.dequeue();
    ++m_running;
    auto *download = new TabDownload(m_fetcher, MinDescWidth, this);
    connect(download, &TabDownload::progress, this,
            [this, id](int done, int total, const QString &) { onProgress(id, done, total); });
    connect(download, &TabDownload::finished, this, [this, id, download](const DownloadSummary &summary) {
        download->deleteLater();
        --m_running;
        if (summary.failed > 0 || summary.outcome != DownloadSummary::Outcome::Completed)
            m_anyFailed = true;
        if (m_terminal)
            std::fputc('\n', stderr);
        const QPointer<HeadlessSave> self(this);
        emit saved(id, summary);
        if (self)
            startNext();
    });
    download->start(m_folder, result);
    startNext();
}

void HeadlessSave::onProgress(int id, int done, int total)
{
    if (!m_terminal) {
        std::fprintf(stderr, "[%d] %s\n", id, ProgressLine(done, total).toUtf8().constData());
        return;
    }
    const int width = 30;
    const int filled = total > 0 ? done * width / total : width;
    std::fprintf(stderr, "\r[%d] [%s%s] %d/%d %3d%%", id, std::string(size_t(filled), '#').c_str(),
                 std::string(size_t(width - filled), '.').c_str(), done, total, ProgressPercent(done, total));
    std::fflush(stderr);
}

QString HeadlessSave::summaryLine(const DownloadSummary &summary)
{
    // Joined, not QString::arg: a title holding "%1" must print as it is.
    if (summary.outcome == DownloadSummary::Outcome::FolderFailed)
        return TerminalText(summary.line + QStringLiteral(" (") + summary.error + QLatin1Char(')'));
    return TerminalText(summary.itemFolder) + QStringLiteral("\t保存") + QString::number(summary.saved)
        + QStringLiteral("张\t丢弃(宽度小于%1像素)").arg(MinDescWidth) + QString::number(summary.dropped)
        + QStringLiteral("张\t失败") + QString::number(summary.failed) + QStringLiteral("张")
        + (summary.videos > 0 ? QStringLiteral("\t视频%1个").arg(summary.videos) : QString());
}
