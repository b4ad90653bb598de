#pragma once

#include <QString>
#include <QStringList>

// One compact table of the result page's product section: a heading with the
// table's count, a row of column names and at most MaxRows rows; a line then
// says how many rows were left out. Cells arrive as page text and leave as
// HTML that can only show text.
class ProductTable
{
public:
    static constexpr qsizetype MaxRows = 300;
    static constexpr qsizetype MaxCellLength = 200;

    ProductTable(const QString &heading, const QStringList &columns, qsizetype total);

    bool full() const { return m_rows >= MaxRows; }
    // Each cell is a list of texts shown one after the other, separated by
    // " / ", each isolated from the others' direction.
    void addRow(const QList<QStringList> &cells);
    QStringList pieces() const;

    // Page text as HTML: C0/C1 controls dropped, cut at MaxCellLength,
    // escaped, and wrapped in <bdi> so that bidi controls stay inside.
    static QString cellText(const QString &text);

private:
    QStringList m_pieces;
    qsizetype m_total = 0;
    qsizetype m_rows = 0;
};
