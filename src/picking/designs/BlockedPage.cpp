#include "picking/designs/BlockedPage.h"

namespace BlockedPage {

const QString Message = QStringLiteral("页面需要安全验证（滑块或登录），请在本页完成验证后再点采集。");

bool isBlocked(const PageFacts &facts)
{
    static const QStringList addressMarks = {QStringLiteral("_____tmd_____"), QStringLiteral("punish"),
                                             QStringLiteral("x5secdata"), QStringLiteral("login.1688.com"),
                                             QStringLiteral("passport")};
    auto marked = [](const QString &text) {
        for (const QString &mark : addressMarks)
            if (text.contains(mark, Qt::CaseInsensitive))
                return true;
        return false;
    };
    if (marked(facts.url) || facts.hasSlider || facts.title.contains(QLatin1String("security-X5"), Qt::CaseInsensitive))
        return true;
    for (const QString &action : facts.formActions)
        if (marked(action))
            return true;
    // Product pages may say 滑动 too; only a short page that is nothing but the slider counts.
    return facts.text.size() < 300 && facts.text.contains(QStringLiteral("滑动"));
}

} // namespace BlockedPage
