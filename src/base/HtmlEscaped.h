#pragma once

#include <QString>

// `text` for HTML of our own, in text or in a double-quoted attribute: a
// page's text can add no markup and no script there.
QString HtmlEscaped(const QString &text);
