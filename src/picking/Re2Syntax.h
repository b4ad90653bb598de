#pragma once

#include <QLatin1String>

#include <optional>
#include <string>

// Rewrites an ECMAScript pattern that is matched with the i flag (and without
// the u flag) into RE2 syntax with the same matches on UTF-8 text:
// - an ASCII letter becomes a class of its two cases; RE2's own case folding
//   would also let U+017F match "s" and U+212A match "k", which page scripts
//   never do;
// - "." becomes a class that leaves out all four line terminators (\n, \r,
//   U+2028, U+2029), where RE2's "." only leaves out \n.
// Only the plain subset the address patterns need is accepted (literals,
// escaped punctuation, groups, alternation, quantifiers, "."); anything whose
// meaning differs between the engines gives nullopt. The text is matched in
// the UTF-8 form QString::toUtf8 gives, lone surrogates written as "?".
std::optional<std::string> Re2FromEcmaScript(QLatin1String pattern);
