#include "base/DisplayText.h"

#include <QStringView>

namespace {

// Calls `keep(c, from, length)` for each code point, lone surrogates included.
template <typename Keep>
QString filtered(const QString &text, Keep keep)
{
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        keep(result, c, QStringView(text).mid(i, length));
        i += length;
    }
    return result;
}

} // namespace

bool IsUnsafeForDisplay(char32_t c)
{
    return c < 0x20 || (c >= 0x7f && c <= 0x9f) || (c >= 0x202a && c <= 0x202e)
        || (c >= 0x2066 && c <= 0x2069);
}

QString WithoutUnsafeCharacters(const QString &text)
{
    return filtered(text, [](QString &out, char32_t c, QStringView piece) {
        if (!IsUnsafeForDisplay(c))
            out += piece;
    });
}

QString TerminalText(const QString &text)
{
    return filtered(text, [](QString &out, char32_t c, QStringView piece) {
        if (IsUnsafeForDisplay(c))
            out += QChar(QChar::ReplacementCharacter);
        else
            out += piece;
    });
}

QString CutToBytes(const QString &name, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < name.size()) {
        const bool pair = name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate();
        const char16_t u = name[i].unicode();
        // A lone surrogate is written as the 3-byte replacement character.
        const qsizetype length = pair ? 4 : u < 0x80 ? 1 : u < 0x800 ? 2 : 3;
        if (bytes + length > maxBytes)
            break;
        bytes += length;
        i += pair ? 2 : 1;
    }
    return name.left(i);
}
