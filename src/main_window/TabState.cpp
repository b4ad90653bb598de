#include "main_window/TabState.h"

#include "main_window/TabBook.h"
#include "picking/CleanName.h"

void TabState::dropResult()
{
    result.reset();
    showingResult = false;
    downloaded = false;
    lastDownload = DownloadSummary();
}

QString TabState::caption(const TabBook &book, int n, const QString &pageTitle) const
{
    if (holdsResult() && downloaded) {
        QString mark;
        if (lastDownload.failed > 0)
            mark = QStringLiteral("(%1张失败)").arg(lastDownload.failed);
        else if (lastDownload.saved == 0)
            mark = QStringLiteral("(无图片)");
        return QStringLiteral("已下载") + mark + QLatin1Char(':') + CleanName(result->title.left(10));
    }
    return book.tabCaption(n, pageTitle);
}
