#include "picking/ResultPage.h"

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
    const QStringList &mainPics = result.mainPics;
    const QStringList &descPics = result.descPics;
    const QString t = escaped(result.title);
    const QString u = escaped(result.address);
    const QString paragraph = u"<p>"_s;
    const QString containerEnd = u"</div>"_s;
    QStringList out;
    out << u"<html><head><title>Pick:"_s + t + u"</title></head><body>"_s;
    // The title line and the link belong to the main section: a pick without
    // main pictures shows neither.
    if (!mainPics.isEmpty()) {
        out << u"<font fontsize=9>宝贝标题:"_s + t + u"</font>"_s;
        out << paragraph;
        out << u"<a href=\""_s + u + u"\" target=\"_blank\"><font fontsize=9>宝贝网址:"_s + u
                + u"</font></a>"_s;
        out << paragraph;
        out << u"<div id=\"mod-detail\">"_s;
        out << u"<font fontsize=8>主图缩略图:</font>"_s;
        out << paragraph;
        appendPictures(out, u"<img width=310 height=310 src=\""_s, mainPics);
        out << containerEnd;
    }
    if (!result.skuPics.isEmpty())
        appendSkuSection(out, result.skuPics, result.skuNames);
    if (!descPics.isEmpty()) {
        out << paragraph;
        out << u"<div id=\"desc-lazyload-container\">"_s;
        out << u"<font fontsize=8>描述缩略图:</font>"_s;
        out << paragraph;
        appendPictures(out, u"<img width=750  src=\""_s, descPics);
        out << containerEnd;
    }
    out << u"</body></html>"_s;
    return out;
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
    out << u"<font fontsize=8>SKU图:</font>"_s;
    out << u"<p>"_s;
    for (qsizetype i = 0; i < pictures.size(); ++i)
        out << u"<span style=\"display:inline-block;width:160px;margin:4px;text-align:center;vertical-align:top\">"
               u"<img width=150 height=150 src=\""_s
                + escaped(pictures.at(i)) + u"\"><br><font fontsize=8>"_s + escaped(names.value(i))
                + u"</font></span>"_s;
    out << u"</div>"_s;
}
