#include "screenless/HeadlessSave.h"

#include "download/PictureFetcher.h"
#include "download/SaveLayout.h"
#include "download/TabDownload.h"
#include "picking/CleanName.h"

#include <QPointer>

HeadlessSave::HeadlessSave(const QString &folder, PictureFetcher &fetcher, const SaveChoice &choice, QObject *parent)
    : QObject(parent), m_folder(folder), m_fetcher(&fetcher), m_choice(choice)
{
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
    auto *download = new TabDownload(m_fetcher, m_choice, this);
    connect(download, &TabDownload::progress, this,
            [this, id](int done, int total, const QString &) { emit progressed(id, done, total); });
    connect(download, &TabDownload::finished, this, [this, id, download](const DownloadSummary &summary) {
        download->deleteLater();
        --m_running;
        const QPointer<HeadlessSave> self(this);
        emit saved(id, summary);
        if (self)
            startNext();
    });
    download->start(m_folder, result);
    startNext();
}

QString HeadlessSave::summaryLine(const DownloadSummary &summary)
{
    // Joined, not QString::arg: a title holding "%1" must print as it is.
    if (summary.outcome == DownloadSummary::Outcome::FolderFailed)
        return TerminalText(summary.line + QStringLiteral(" (") + summary.error + QLatin1Char(')'));
    return TerminalText(summary.itemFolder) + QStringLiteral("\t保存") + QString::number(summary.saved)
        + QStringLiteral("张\t丢弃(") + summary.dropNote() + QStringLiteral(")") + QString::number(summary.dropped)
        + QStringLiteral("张\t失败") + QString::number(summary.failed) + QStringLiteral("张")
        + ApartCounts(summary, QStringLiteral("\t"));
}
