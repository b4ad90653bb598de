#include "picking/designs/ScriptText.h"

namespace ScriptText {

qsizetype skipComment(QStringView text, qsizetype i)
{
    if (i + 1 >= text.size() || text[i] != u'/')
        return i;
    if (text[i + 1] == u'/') {
        const qsizetype end = text.indexOf(u'\n', i);
        return end < 0 ? text.size() : end;
    }
    if (text[i + 1] == u'*') {
        const qsizetype end = text.indexOf(u"*/", i + 2);
        return end < 0 ? text.size() : end + 2;
    }
    return i;
}

qsizetype skipSpaceAndComments(QStringView text, qsizetype i)
{
    while (i < text.size()) {
        if (text[i].isSpace())
            ++i;
        else if (const qsizetype after = skipComment(text, i); after != i)
            i = after;
        else
            break;
    }
    return i;
}

qsizetype skipString(QStringView text, qsizetype i)
{
    const QChar quote = text[i++];
    while (i < text.size()) {
        const QChar c = text[i++];
        if (c == quote)
            return i;
        if (c == u'\\')
            ++i;
    }
    return text.size();
}

qsizetype find(QStringView text, QStringView needle, qsizetype from)
{
    if (needle.isEmpty())
        return -1;
    const QChar first = needle.front();
    qsizetype i = qMax<qsizetype>(0, from);
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == first && text.sliced(i).startsWith(needle))
            return i;
        if (const qsizetype after = skipComment(text, i); after != i)
            i = after;
        else if (c == u'"' || c == u'\'' || c == u'`')
            i = skipString(text, i);
        else
            ++i;
    }
    return -1;
}

} // namespace ScriptText
