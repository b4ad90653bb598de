#include "main_window/Tab.h"

#include "main_window/MesgList.h"
#include "picking/CleanName.h"
#include "platform/BrowserPage.h"

Tab::Tab(BrowserPage *browser, MesgList *mesg, QObject *parent) : QObject(parent), m_browser(browser), m_mesg(mesg) {}

void Tab::dropResult()
{
    result.reset();
    showingResult = false;
    downloaded = false;
    lastDownload = DownloadSummary();
}

QString Tab::caption(const QString &pageTitle) const
{
    if (holdsResult() && downloaded) {
        QString mark;
        if (lastDownload.failed > 0)
            mark = QStringLiteral("(%1张失败)").arg(lastDownload.failed);
        else if (lastDownload.saved == 0)
            mark = QStringLiteral("(无图片)");
        return QStringLiteral("已下载") + mark + QLatin1Char(':') + CleanName(result->title.left(10));
    }
    // The cut comes before the cleaning, so a caption may be shorter than the cut.
    if (picked)
        return QStringLiteral("Pick:") + CleanName(pickTitle.left(10));
    return CleanName(pageTitle.left(5));
}
