#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>
#include <QStringView>

// A direct matcher for patterns of the shape `(H1|H2|...)LITERAL.*?(T1|T2|...)`
// with literal alternatives, matched as page scripts do with the i flag:
// leftmost start, alternatives in order, the shortest run of characters other
// than line terminators up to the first tail. It works on the UTF-16 text
// itself and needs no memory beyond its result, so it cannot run out of
// anything; its time is linear in the text.
class PicScanner
{
public:
    explicit PicScanner(QLatin1String pattern);

    // False when the pattern does not have the shape above.
    bool isValid() const { return m_valid; }

    // All non-overlapping matches, left to right; at most `limit` of them
    // when `limit` is positive.
    QStringList matches(QStringView text, qsizetype limit = -1) const;

    // The alternatives every match begins with (literal, ASCII letters in
    // either case).
    const QStringList &heads() const { return m_heads; }

private:
    qsizetype tailAt(QStringView text, qsizetype pos) const;

    QStringList m_heads;
    QStringList m_tails;
    bool m_valid = false;
};
