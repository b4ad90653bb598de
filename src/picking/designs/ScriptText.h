#pragma once

#include <QStringView>

// Finding things in a page's inline script as code: text inside comments and
// string literals is not code, so a commented-out block or a quoted marker is
// never taken for the real one.
namespace ScriptText {

// The index after a comment that starts at i, or i when none starts there.
qsizetype skipComment(QStringView text, qsizetype i);

// The index of the first character at or after i that is neither a space nor
// in a comment.
qsizetype skipSpaceAndComments(QStringView text, qsizetype i);

// The index after the string literal ('…', "…" or `…`) that opens at i, or
// text.size() when it never closes.
qsizetype skipString(QStringView text, qsizetype i);

// The first `needle` at or after `from` that stands in code; -1 when none.
qsizetype find(QStringView text, QStringView needle, qsizetype from = 0);

} // namespace ScriptText
