#include "picking/PicScanner.h"

#include <optional>

namespace {

bool isLineTerminator(QChar c)
{
    const char16_t u = c.unicode();
    return u == u'\n' || u == u'\r' || u == 0x2028 || u == 0x2029;
}

bool isMeta(char c)
{
    return QLatin1String(".*+?()[]{}|^$\\").contains(QLatin1Char(c));
}

// Reads literal text up to `stop` (or the end), undoing escapes of punctuation.
std::optional<QString> readLiteral(QLatin1String p, qsizetype &i, QLatin1String stop)
{
    QString out;
    while (i < p.size() && !stop.contains(p.at(i))) {
        char c = p.at(i).toLatin1();
        if (c == '\\' && i + 1 < p.size() && isMeta(p.at(i + 1).toLatin1()))
            c = p.at(++i).toLatin1();
        else if (isMeta(c))
            return std::nullopt;
        out += QLatin1Char(c);
        ++i;
    }
    return out;
}

// Reads "(A|B|...)" starting at p[i].
std::optional<QStringList> readGroup(QLatin1String p, qsizetype &i)
{
    if (i >= p.size() || p.at(i) != QLatin1Char('('))
        return std::nullopt;
    QStringList alternatives;
    do {
        ++i;
        const std::optional<QString> literal = readLiteral(p, i, QLatin1String("|)"));
        if (!literal || literal->isEmpty())
            return std::nullopt;
        alternatives.append(*literal);
    } while (i < p.size() && p.at(i) == QLatin1Char('|'));
    if (i >= p.size() || p.at(i) != QLatin1Char(')'))
        return std::nullopt;
    ++i;
    return alternatives;
}

// Without the u flag, an ASCII letter matches only its two ASCII cases.
bool matchesAt(QStringView text, qsizetype pos, const QString &literal)
{
    if (pos + literal.size() > text.size())
        return false;
    for (qsizetype k = 0; k < literal.size(); ++k) {
        const char16_t want = literal.at(k).unicode();
        const char16_t have = text.at(pos + k).unicode();
        const bool letter = (want | 0x20) >= u'a' && (want | 0x20) <= u'z';
        if (have != want && !(letter && have < 0x80 && (have | 0x20) == (want | 0x20)))
            return false;
    }
    return true;
}

} // namespace

PicScanner::PicScanner(QLatin1String pattern)
{
    qsizetype i = 0;
    const std::optional<QStringList> heads = readGroup(pattern, i);
    const std::optional<QString> middle = readLiteral(pattern, i, QLatin1String("."));
    if (!heads || !middle || pattern.sliced(i).left(3) != QLatin1String(".*?"))
        return;
    i += 3;
    const std::optional<QStringList> tails = readGroup(pattern, i);
    if (!tails || i != pattern.size())
        return;
    for (const QString &head : *heads)
        m_heads.append(head + *middle);
    m_tails = *tails;
    m_valid = true;
}

qsizetype PicScanner::tailAt(QStringView text, qsizetype pos) const
{
    for (const QString &tail : m_tails) {
        if (matchesAt(text, pos, tail))
            return tail.size();
    }
    return 0;
}

QStringList PicScanner::matches(QStringView text, qsizetype limit) const
{
    QStringList found;
    if (!m_valid)
        return found;
    const qsizetype size = text.size();
    // What earlier failed searches established: from `bareFrom` up to the line
    // terminator at `lineEnd` (or the end of the text) no tail begins. Later
    // searches stop there, which keeps the whole scan linear.
    qsizetype lineEnd = -1;
    qsizetype bareFrom = -1;
    qsizetype start = 0;
    while (start < size && (limit <= 0 || found.size() < limit)) {
        qsizetype matchEnd = -1;
        for (const QString &head : m_heads) {
            if (!matchesAt(text, start, head))
                continue;
            const qsizetype body = start + head.size();
            if (body <= lineEnd && body >= bareFrom)
                continue;
            const qsizetype stop = body <= lineEnd ? bareFrom : size;
            qsizetype k = body;
            for (; k < stop && !isLineTerminator(text.at(k)); ++k) {
                if (const qsizetype tail = tailAt(text, k)) {
                    matchEnd = k + tail;
                    break;
                }
            }
            if (matchEnd >= 0)
                break;
            if (stop == size || k < stop)
                lineEnd = k;
            bareFrom = body;
        }
        if (matchEnd < 0) {
            ++start;
            continue;
        }
        found.append(text.sliced(start, matchEnd - start).toString());
        start = matchEnd;
    }
    return found;
}
