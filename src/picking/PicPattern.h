#pragma once

#include "picking/PicScanner.h"

#include <QLatin1String>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace re2 {
class RE2;
}

// One address pattern (ECMAScript syntax, see PicPatterns.h), matched
// case-insensitively and globally as page scripts match it.
//
// Runs on RE2, whose time stays linear in the text and which has no match
// limit to give up at: when its fast automaton runs out of memory it finishes
// the search with its slower one. Should RE2 refuse the pattern altogether
// (or the pattern need a construct whose meaning differs between the
// engines), the direct scanner runs instead, so a failure can never pass for
// "no match".
class PicPattern
{
public:
    static constexpr qint64 DefaultMaxMem = qint64(64) << 20;

    explicit PicPattern(QLatin1String pattern, qint64 maxMem = DefaultMaxMem);
    ~PicPattern();
    PicPattern(const PicPattern &) = delete;
    PicPattern &operator=(const PicPattern &) = delete;

    // False only when neither engine can run the pattern.
    bool isValid() const;
    bool runsOnRe2() const { return m_re2 != nullptr; }

    // Every non-overlapping match, left to right.
    QStringList matches(const QString &text) const;
    std::optional<QString> firstMatch(const QString &text) const;

private:
    QStringList run(const QString &text, qsizetype limit) const;
    QStringList runRe2(QStringView text, qsizetype limit) const;
    qsizetype firstLead(QStringView text) const;

    std::unique_ptr<re2::RE2> m_re2;
    PicScanner m_scanner;
    QString m_lead; // what every match begins with, lower-cased
};
