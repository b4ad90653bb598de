#include "picking/designs/ProductReading.h"

#include "picking/designs/HtmlText.h"

#include <QRegularExpression>

// The old design keeps no data inline: its title and its attribute table are
// read from the markup.
namespace ProductReading {

ProductData fromOldPage(const DocumentSnapshot &snapshot, const QString &url)
{
    ProductData product;
    product.url = url;
    product.title = snapshot.title;
    product.title.remove(QRegularExpression(QStringLiteral("\\s*-\\s*阿里巴巴\\s*$")));
    // The table pairs "de-feature" cells with the "de-value" cell after them.
    for (const DivElement &div : snapshot.divs) {
        const QString &html = div.html;
        if (!html.contains(QLatin1String("de-feature")))
            continue;
        auto cell = [&html](const QLatin1String &mark, qsizetype from, qsizetype *end) {
            const qsizetype at = html.indexOf(mark, from);
            const qsizetype open = at < 0 ? -1 : html.indexOf(u'>', at);
            *end = open < 0 ? -1 : html.indexOf(QLatin1String("</td>"), open);
            return *end < 0 ? QString() : HtmlText::plain(html.sliced(open + 1, *end - open - 1));
        };
        qsizetype end = 0;
        while (end >= 0) {
            const QString name = cell(QLatin1String("de-feature"), end, &end);
            const QString value = end < 0 ? QString() : cell(QLatin1String("de-value"), end, &end);
            if (end >= 0 && !name.isEmpty())
                product.attributes.append({name, value});
        }
        break;
    }
    return product;
}

} // namespace ProductReading
