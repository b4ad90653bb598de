#include "picking/Re2Syntax.h"

namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiAlnum(char c)
{
    return isAsciiLetter(c) || (c >= '0' && c <= '9');
}

bool differsBetweenEngines(char c, char next)
{
    // Classes, anchors and counted repeats would need their own rewriting;
    // "(?" opens look-arounds and group flags.
    return c == '[' || c == ']' || c == '^' || c == '$' || c == '{' || c == '}'
        || (c == '(' && next == '?') || static_cast<unsigned char>(c) >= 0x80;
}

} // namespace

std::optional<std::string> Re2FromEcmaScript(QLatin1String pattern)
{
    const char *text = pattern.data();
    const qsizetype size = pattern.size();
    std::string out;
    out.reserve(size * 4);
    for (qsizetype i = 0; i < size; ++i) {
        const char c = text[i];
        const char next = i + 1 < size ? text[i + 1] : '\0';
        if (differsBetweenEngines(c, next))
            return std::nullopt;
        if (isAsciiLetter(c)) {
            out += '[';
            out += static_cast<char>(c | 0x20);
            out += static_cast<char>(c & ~0x20);
            out += ']';
        } else if (c == '.') {
            out += "[^\\n\\r\\x{2028}\\x{2029}]";
        } else if (c == '\\') {
            // \d, \s, \w, \b and back-references differ between the engines.
            // A literal "?" is refused too: the UTF-8 form of the text writes
            // a lone surrogate as "?", which such a pattern would take for one.
            if (next == '\0' || isAsciiAlnum(next) || next == '?')
                return std::nullopt;
            out += '\\';
            out += next;
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}
