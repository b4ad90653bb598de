#include "picking/ResultPage.h"

#include "base/HtmlEscaped.h"

#include "picking/ProductSection.h"
#include "picking/ResultPageStyle.h"
#include "picking/designs/GenericDesign.h"

using namespace Qt::StringLiterals;

QStringList ResultPage::pieces(const QString &title, const QString &address,
                               const QStringList &mainPics, const QStringList &descPics)
{
    PickResult result;
    result.title = title;
    result.address = address;
    result.addresses(MediaKind::Main) = mainPics;
    result.addresses(MediaKind::Description) = descPics;
    return pieces(result);
}

QStringList ResultPage::pieces(const PickResult &result)
{
    QStringList out;
    out << u"<html><head><title>Pick:"_s + HtmlEscaped(result.title) + u"</title></head><body>"_s;
    if (!result.reader.isEmpty())
        out << u"<div id=\"reader-notice\"><font fontsize=9 color=\"#c00000\">"_s + GenericDesign::Notice + u"</font></div>"_s;
    for (const MediaGroup &group : result.groups()) {
        if (!group.addresses.isEmpty() && !group.describe().heading.isEmpty())
            appendSection(out, result, group);
    }
    // After the picture containers: what reads the page back by its
    // containers never sees an address in the product's data.
    out << ProductSection::pieces(result.product, result.addresses(MediaKind::Video).value(0));
    out << ResultPageStyle::piece() + u"</body></html>"_s;
    return out;
}

// The title line and the link lead the main section: a pick without main
// pictures shows neither.
void ResultPage::appendSection(QStringList &out, const PickResult &result, const MediaGroup &group)
{
    const MediaKind &kind = group.describe();
    if (kind.id == MediaKind::Main) {
        const QString t = HtmlEscaped(result.title);
        const QString u = HtmlEscaped(result.address);
        out << u"<font fontsize=9>宝贝标题:"_s + t + u"</font>"_s;
        out << u"<p>"_s;
        out << u"<a href=\""_s + u + u"\" target=\"_blank\"><font fontsize=9>宝贝网址:"_s + u + u"</font></a>"_s;
    }
    out << u"<p>"_s;
    out << u"<div id=\""_s + kind.container + u"\">"_s;
    out << u"<font fontsize=8>"_s + kind.heading + counted(group.addresses) + u":</font>"_s;
    out << u"<p>"_s;
    if (kind.named)
        appendNamedPictures(out, kind.pictureTag, group.addresses, group.names);
    else
        appendPictures(out, kind.pictureTag, group.addresses);
    out << u"</div>"_s;
}

QString ResultPage::counted(const QStringList &pictures)
{
    return u"("_s + QString::number(pictures.size()) + u")"_s;
}

void ResultPage::appendPictures(QStringList &out, const QString &imageStart,
                                const QStringList &pictures)
{
    // A paragraph after every third picture keeps the rows short.
    for (qsizetype i = 1; i <= pictures.size(); ++i) {
        out << imageStart + HtmlEscaped(pictures.at(i - 1)) + u" \">&nbsp;</img>"_s;
        if (i % 3 == 0)
            out << u"<p>"_s;
    }
}

// Outside both picture containers of the old page: what reads the page back
// by its containers sees the page of before.
void ResultPage::appendNamedPictures(QStringList &out, const QString &imageStart, const QStringList &pictures,
                                     const QStringList &names)
{
    for (qsizetype i = 0; i < pictures.size(); ++i)
        out << imageStart + HtmlEscaped(pictures.at(i)) + u"\"><br><font fontsize=8>"_s + HtmlEscaped(names.value(i))
                + u"</font></span>"_s;
}
