#include "download/SummaryRows.h"

#include "download/SaveLayout.h"

#include <QStringList>

QString SummaryRows::FirstRow(const DownloadSummary &summary)
{
    // Some pictures saved, some lost: not "下载完成", which would hide the loss.
    const bool someFailed = summary.outcome == DownloadSummary::Outcome::Completed && summary.failed > 0
        && summary.saved > 0 && summary.failed < summary.total;
    if (!someFailed)
        return summary.line;
    QString line = QStringLiteral("消息提示:下载结束，%1张失败,保存至->").arg(summary.failed) + summary.itemFolder
        + QStringLiteral("->双击打开");
    if (summary.unknownWidth > 0)
        line += QStringLiteral("（%1张宽度未知）").arg(summary.unknownWidth);
    return line;
}

QString SummaryRows::CountsLine(const DownloadSummary &summary)
{
    // Joined, not arg(): the note is ours, but a count must never be read as a marker.
    QString line = QStringLiteral("保存%1张 丢弃%2张(").arg(summary.saved).arg(summary.dropped) + summary.dropNote()
        + QStringLiteral(") 失败%1张").arg(summary.failed);
    if (summary.unknownWidth > 0)
        line += QStringLiteral(" 宽度未知%1张").arg(summary.unknownWidth);
    line += ApartCounts(summary, QStringLiteral(" "));
    if (!summary.failures.isEmpty()) {
        QStringList names;
        for (const FailedPicture &picture : summary.failures)
            names << picture.name();
        line += QStringLiteral(" 失败的图片:") + names.join(QStringLiteral(", "));
    }
    return line;
}
