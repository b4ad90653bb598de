#pragma once

#include <QString>

// True for the characters no name and no terminal line may carry: C0 and C1
// controls (NUL, TAB, LF, CR, ESC …), DEL and the bidirectional embeddings,
// overrides and isolates.
bool IsUnsafeForDisplay(char32_t c);

// `text` with each unsafe character shown as U+FFFD, for lines printed to a
// terminal: what the page sent stays visible without taking effect.
QString TerminalText(const QString &text);

// `text` without its unsafe characters.
QString WithoutUnsafeCharacters(const QString &text);

// The longest start of `name` whose UTF-8 form fits in maxBytes, cut between
// code points.
QString CutToBytes(const QString &name, qsizetype maxBytes);
