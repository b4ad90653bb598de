#include "picking/designs/HtmlText.h"

namespace {

// The character a reference names (without '&' and ';'); 0 when unknown.
char32_t referenced(QStringView name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const uint code = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        // NUL, surrogates and what lies beyond Unicode are no characters.
        return ok && code > 0 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) ? char32_t(code) : 0;
    }
    static const std::pair<const char16_t *, char32_t> names[] = {
        {u"lt", U'<'}, {u"gt", U'>'}, {u"amp", U'&'}, {u"quot", U'"'}, {u"apos", U'\''}, {u"nbsp", U'\u00A0'}, {u"yen", U'\u00A5'}};
    for (const auto &[known, c] : names)
        if (name == QStringView(known))
            return c;
    return 0;
}

} // namespace

namespace HtmlText {

QString decodeEntities(const QString &html)
{
    if (!html.contains(u'&'))
        return html;
    QString out;
    out.reserve(html.size());
    qsizetype i = 0;
    while (i < html.size()) {
        const qsizetype amp = html.indexOf(u'&', i);
        if (amp < 0)
            break;
        out += QStringView(html).sliced(i, amp - i);
        // References are short: looking further for their ';' would make a
        // text of many bare '&' quadratic.
        const qsizetype window = QStringView(html).sliced(amp, qMin<qsizetype>(12, html.size() - amp)).indexOf(u';');
        const qsizetype semi = window < 0 ? -1 : amp + window;
        const char32_t c = semi > amp + 1 ? referenced(QStringView(html).sliced(amp + 1, semi - amp - 1)) : 0;
        if (c == 0) {
            out += u'&';
            i = amp + 1;
            continue;
        }
        out += QString::fromUcs4(&c, 1);
        i = semi + 1;
    }
    out += QStringView(html).sliced(i);
    return out;
}

QString plain(const QString &html)
{
    QString text;
    text.reserve(html.size());
    bool inTag = false;
    for (const QChar c : html) {
        if (c == u'<')
            inTag = true;
        else if (c == u'>' && inTag)
            inTag = false;
        else if (!inTag)
            text += c;
    }
    return decodeEntities(text).simplified();
}

} // namespace HtmlText
