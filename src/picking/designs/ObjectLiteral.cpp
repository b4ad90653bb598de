#include "picking/designs/ObjectLiteral.h"

#include "picking/designs/ScriptText.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'.' || c == u'+' || c == u'-';
}

qsizetype skipSpace(QStringView text, qsizetype i)
{
    while (i < text.size() && text[i].isSpace())
        ++i;
    return i;
}

void appendUnicode(QString &out, uint code)
{
    out += QStringLiteral("\\u%1").arg(code, 4, 16, QLatin1Char('0'));
}

// Copies the string that opens at `i` as a JSON string; returns the index
// after its closing quote, or -1 when it never closes.
qsizetype copyString(QStringView text, qsizetype i, QString &out)
{
    const QChar quote = text[i++];
    out += u'"';
    while (i < text.size()) {
        const QChar c = text[i++];
        if (c == quote) {
            out += u'"';
            return i;
        }
        if (c == u'"') {
            out += u"\\\"";
        } else if (c.unicode() < 0x20) {
            appendUnicode(out, c.unicode());
        } else if (c != u'\\') {
            out += c;
        } else if (i < text.size()) {
            const QChar e = text[i++];
            switch (e.unicode()) {
            case u'"': case u'\\': case u'/': case u'b': case u'f': case u'n': case u'r': case u't': case u'u':
                out += u'\\';
                out += e;
                break;
            case u'v': appendUnicode(out, 0x0b); break;
            case u'0': appendUnicode(out, 0); break;
            case u'\n': break;  // a line continuation
            case u'x': {
                bool ok = false;
                const uint code = text.mid(i, 2).toUInt(&ok, 16);
                if (!ok)
                    return -1;
                appendUnicode(out, code);
                i += 2;
                break;
            }
            default:  // \' and any other character stand for themselves
                out += e;
            }
        }
    }
    return -1;
}

} // namespace

namespace ObjectLiteral {

QStringView extract(QStringView text, qsizetype from)
{
    const qsizetype start = text.indexOf(u'{', qMax<qsizetype>(0, from));
    if (start < 0)
        return {};
    int depth = 0;
    QChar quote;
    for (qsizetype i = start; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quote.isNull()) {
            // A comment may hold quotes or brackets of its own ("// it's").
            if (const qsizetype after = ScriptText::skipComment(text, i); after != i) {
                i = after - 1;
                continue;
            }
        }
        if (!quote.isNull()) {
            if (c == u'\\')
                ++i;
            else if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'{' || c == u'[') {
            ++depth;
        } else if ((c == u'}' || c == u']') && --depth == 0) {
            return text.mid(start, i - start + 1);
        }
    }
    return {};
}

std::optional<QByteArray> toJson(QStringView text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (const qsizetype after = ScriptText::skipComment(text, i); after != i) {
            i = after;
        } else if (c == u'"' || c == u'\'') {
            i = copyString(text, i, out);
            if (i < 0)
                return std::nullopt;
        } else if (c == u',') {
            const qsizetype next = skipSpace(text, i + 1);
            if (next >= text.size() || (text[next] != u'}' && text[next] != u']'))
                out += c;
            ++i;
        } else if (isWordChar(c)) {
            qsizetype end = i;
            while (end < text.size() && isWordChar(text[end]))
                ++end;
            const QStringView word = text.mid(i, end - i);
            const qsizetype next = skipSpace(text, end);
            if (next < text.size() && text[next] == u':')
                out += u'"' + word.toString() + u'"';
            else if (word == u"undefined" || word == u"NaN" || word == u"Infinity")
                out += u"null";
            else
                out += word;
            i = end;
        } else {
            out += c;
            ++i;
        }
    }
    return out.toUtf8();
}

std::optional<QJsonValue> parse(QStringView literal, QByteArray *jsonText)
{
    const std::optional<QByteArray> json = toJson(literal);
    if (!json)
        return std::nullopt;
    if (jsonText)
        *jsonText = *json;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(*json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return QJsonValue(document.object());
}

} // namespace ObjectLiteral
