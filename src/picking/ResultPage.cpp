#include "picking/ResultPage.h"

using namespace Qt::StringLiterals;

QStringList ResultPage::pieces(const QString &title, const QString &address,
                               const QStringList &mainPics, const QStringList &descPics)
{
    const QString t = escaped(title);
    const QString u = escaped(address);
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
