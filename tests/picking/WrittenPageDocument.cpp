#include "WrittenPageDocument.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

QString decoded(QString text)
{
    text.replace(u"&quot;"_s, u"\""_s).replace(u"&lt;"_s, u"<"_s).replace(u"&gt;"_s, u">"_s);
    return text.replace(u"&amp;"_s, u"&"_s);
}

struct Tag
{
    QString name;
    bool closing = false;
    QList<std::pair<QString, QString>> attributes;
};

// Reads the tag starting at text[pos] == '<' and moves pos past its '>'.
Tag readTag(const QString &text, qsizetype &pos)
{
    static const QRegularExpression name(u"\\G<(/?)([a-zA-Z]+)"_s);
    static const QRegularExpression attribute(u"\\G\\s+([a-zA-Z-]+)(?:=(\"[^\"]*\"|[^\\s>]*))?"_s);
    Tag tag;
    QRegularExpressionMatch m = name.match(text, pos);
    Q_ASSERT(m.hasMatch());
    tag.closing = !m.captured(1).isEmpty();
    tag.name = m.captured(2).toLower();
    pos = m.capturedEnd();
    while ((m = attribute.match(text, pos)).hasMatch()) {
        QString value = m.captured(2);
        if (value.startsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        tag.attributes.append({m.captured(1), decoded(value)});
        pos = m.capturedEnd();
    }
    pos = text.indexOf(u'>', pos) + 1;
    return tag;
}

QString serialised(const Tag &tag)
{
    QString out = u"<"_s + tag.name;
    for (const auto &[key, value] : tag.attributes)
        out += u" "_s + key + u"=\""_s + value + u"\""_s;
    return out + u">"_s;
}

} // namespace

DocumentSnapshot WrittenPageDocument(const QStringList &pieces)
{
    const QString text = pieces.join(QString());
    DocumentSnapshot document;
    document.hasDocument = true;
    document.hasBody = true;
    DivElement *div = nullptr;
    bool inTitle = false;
    bool paragraphOpen = false;
    for (qsizetype pos = 0; pos < text.size();) {
        if (text.at(pos) != u'<') {
            qsizetype end = text.indexOf(u'<', pos);
            end = end < 0 ? text.size() : end;
            if (inTitle)
                document.title += decoded(text.sliced(pos, end - pos));
            else if (div)
                div->html += text.sliced(pos, end - pos);
            pos = end;
            continue;
        }
        const Tag tag = readTag(text, pos);
        if (tag.name == u"title") {
            inTitle = !tag.closing;
        } else if (tag.name == u"div" && !tag.closing) {
            document.divs.append({tag.attributes.value(0).second, QString()});
            div = &document.divs.last();
            paragraphOpen = false;
        } else if (!div || (tag.name == u"img" && tag.closing)) {
            continue;
        } else if (tag.name == u"div" || tag.name == u"p") {
            if (paragraphOpen)
                div->html += u"</p>"_s;
            paragraphOpen = tag.name == u"p";
            if (tag.name == u"div")
                div = nullptr;
            else
                div->html += u"<p>"_s;
        } else {
            div->html += tag.closing ? u"</"_s + tag.name + u">"_s : serialised(tag);
        }
    }
    return document;
}
