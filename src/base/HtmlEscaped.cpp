#include "base/HtmlEscaped.h"

using namespace Qt::StringLiterals;

QString HtmlEscaped(const QString &text)
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
