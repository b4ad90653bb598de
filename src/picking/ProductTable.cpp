#include "picking/ProductTable.h"

#include "base/HtmlEscaped.h"

using namespace Qt::StringLiterals;

namespace {

bool isControl(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7f && u <= 0x9f);
}

} // namespace

ProductTable::ProductTable(const QString &heading, const QStringList &columns, qsizetype total)
    : m_total(total)
{
    m_pieces << u"<div class=\"product-part\"><font fontsize=8>"_s + HtmlEscaped(heading) + u'('
            + QString::number(total) + u"):</font>"_s;
    QString head = u"<table class=\"product-table\"><tr>"_s;
    for (const QString &column : columns)
        head += u"<th>"_s + HtmlEscaped(column) + u"</th>"_s;
    m_pieces << head + u"</tr>"_s;
}

void ProductTable::addRow(const QList<QStringList> &cells)
{
    if (full())
        return;
    QString row = u"<tr>"_s;
    for (const QStringList &texts : cells) {
        QStringList parts;
        for (const QString &text : texts)
            parts << cellText(text);
        row += u"<td>"_s + parts.join(u" / "_s) + u"</td>"_s;
    }
    m_pieces << row + u"</tr>"_s;
    ++m_rows;
}

QStringList ProductTable::pieces() const
{
    QStringList out = m_pieces;
    out << u"</table>"_s;
    if (m_total > m_rows)
        out << u"<div class=\"product-more\">……还有"_s + QString::number(m_total - m_rows)
                + u"条未显示(下载时全部写入文件)</div>"_s;
    out << u"</div>"_s;
    return out;
}

QString ProductTable::cellText(const QString &text)
{
    QString shown;
    shown.reserve(qMin(text.size(), MaxCellLength + 1));
    for (const QChar c : text) {
        if (shown.size() >= MaxCellLength) {
            // Never leave half a surrogate pair behind the cut.
            if (shown.back().isHighSurrogate())
                shown.chop(1);
            shown += u'…';
            break;
        }
        if (!isControl(c))
            shown += c;
    }
    return u"<bdi>"_s + HtmlEscaped(shown) + u"</bdi>"_s;
}
