#include "support/ProductPage.h"

QByteArray ProductPage::html() const
{
    QString gallery;
    for (const QString &pic : mainPics)
        gallery += QStringLiteral("<li class=\"tab-trigger\" data-imgs='{\"preview\":\"%1?s=60\",\"original\":\"%1\"}'>"
                                  "<img src=\"%1?s=60\"></li>").arg(pic);
    QString description;
    for (const QString &pic : descPics)
        description += QStringLiteral("<p><a href=\"http://shop.invalid/item.html\"><img src=\"%1\"></a></p>").arg(pic);
    description += QStringLiteral("<div style=\"height:%1px\">end of description</div>").arg(descHeight);

    QString page = QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head><body>")
                       .arg(title);
    page += QStringLiteral("<div id=\"header\">shop header</div>");
    if (withGallery)
        page += QStringLiteral("<div id=\"mod-detail\"><div class=\"gallery\"><ul>%1</ul></div></div>").arg(gallery);
    page += QStringLiteral("<div style=\"height:%1px\">details</div>").arg(fillerHeight);
    if (withDescription)
        page += QStringLiteral("<div id=\"desc-lazyload-container\" style=\"min-height:100px\">加载中...</div>");
    page += QStringLiteral(
        "<script>(function () {"
        "var container = document.getElementById('desc-lazyload-container');"
        "if (!container) return;"
        "var description = %1;"
        "function check() {"
        "  if (container.dataset.loaded) return;"
        "  if (container.getBoundingClientRect().top < window.innerHeight + 300) {"
        "    container.dataset.loaded = '1';"
        "    setTimeout(function () { container.innerHTML = description; }, 30);"
        "  }"
        "}"
        "window.addEventListener('scroll', check);"
        "window.addEventListener('load', check);"
        "})();</script></body></html>")
                .arg(QStringLiteral("'") + QString(description).replace(QLatin1Char('\''), QStringLiteral("\\'")) + QStringLiteral("'"));
    return page.toUtf8();
}
