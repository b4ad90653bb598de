#include "picking/ResultPage.h"

#include "picking/ProductSection.h"
#include "picking/ResultPageStyle.h"

using namespace Qt::StringLiterals;

QStringList ResultPage::pieces(const QString &title, const QString &address,
                               const QStringList &mainPics, const QStringList &descPics)
{
    PickResult result;
    result.title = title;
    result.address = address;
    result.mainPics = mainPics;
    result.descPics = descPics;
    return pieces(result);
}

QStringList ResultPage::pieces(const PickResult &result)
{
    QStringList out;
    out << u"<html><head><title>Pick:"_s + escaped(result.title) + u"</title></head><body>"_s;
    for (const MediaGroup &group : result.groups()) {
        if (group.addresses.isEmpty())
            continue;
        switch (group.kind) {
        case MediaGroup::Kind::Main:
            appendMainSection(out, result, group.addresses);
            break;
        case MediaGroup::Kind::Sku:
            appendSkuSection(out, group.addresses, group.names);
            break;
        case MediaGroup::Kind::Description:
            out << u"<p>"_s;
            out << u"<div id=\"desc-lazyload-container\">"_s;
            out << u"<font fontsize=8>描述缩略图"_s + counted(group.addresses) + u":</font>"_s;
            out << u"<p>"_s;
            appendPictures(out, u"<img width=750  src=\""_s, group.addresses);
            out << u"</div>"_s;
            break;
        case MediaGroup::Kind::Video:
            break; // shown with the product's data, which knows its player
        }
    }
    // After the picture containers: what reads the page back by its
    // containers never sees an address in the product's data.
    out << ProductSection::pieces(result.product, result.videos.value(0));
    out << ResultPageStyle::piece() + u"</body></html>"_s;
    return out;
}

// The title line and the link belong to the main section: a pick without
// main pictures shows neither.
void ResultPage::appendMainSection(QStringList &out, const PickResult &result, const QStringList &pictures)
{
    const QString t = escaped(result.title);
    const QString u = escaped(result.address);
    out << u"<font fontsize=9>宝贝标题:"_s + t + u"</font>"_s;
    out << u"<p>"_s;
    out << u"<a href=\""_s + u + u"\" target=\"_blank\"><font fontsize=9>宝贝网址:"_s + u + u"</font></a>"_s;
    out << u"<p>"_s;
    out << u"<div id=\"mod-detail\">"_s;
    out << u"<font fontsize=8>主图缩略图"_s + counted(pictures) + u":</font>"_s;
    out << u"<p>"_s;
    appendPictures(out, u"<img width=310 height=310 src=\""_s, pictures);
    out << u"</div>"_s;
}

QString ResultPage::counted(const QStringList &pictures)
{
    return u"("_s + QString::number(pictures.size()) + u")"_s;
}

QString ResultPage::escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += u"&amp;"_s; break;
        case u'"': out += u"&quot;"_s; break;
        case u'<': out += u"&lt;"_s; break;
        case u'>': out += u"&gt;"_s; break;
        default: out += c;
        }
    }
    return out;
}

void ResultPage::appendPictures(QStringList &out, const QString &imageStart,
                                const QStringList &pictures)
{
    // A paragraph after every third picture keeps the rows short.
    for (qsizetype i = 1; i <= pictures.size(); ++i) {
        out << imageStart + escaped(pictures.at(i - 1)) + u" \">&nbsp;</img>"_s;
        if (i % 3 == 0)
            out << u"<p>"_s;
    }
}

void ResultPage::appendSkuSection(QStringList &out, const QStringList &pictures, const QStringList &names)
{
    // Outside both picture containers: what reads the page back by its
    // containers sees the page of before.
    out << u"<p>"_s;
    out << u"<div id=\"sku-pics\">"_s;
    out << u"<font fontsize=8>SKU图"_s + counted(pictures) + u":</font>"_s;
    out << u"<p>"_s;
    for (qsizetype i = 0; i < pictures.size(); ++i)
        out << u"<span style=\"display:inline-block;width:160px;margin:4px;text-align:center;vertical-align:top\">"
               u"<img width=150 height=150 src=\""_s
                + escaped(pictures.at(i)) + u"\"><br><font fontsize=8>"_s + escaped(names.value(i))
                + u"</font></span>"_s;
    out << u"</div>"_s;
}
