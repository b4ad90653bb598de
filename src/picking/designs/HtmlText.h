#pragma once

#include <QString>

// Page data that arrives as HTML text (SKU names with &gt;, attribute table
// cells) turned into the plain text it shows. The result is data, never markup.
namespace HtmlText {

// &lt; &gt; &amp; &quot; &apos; &nbsp; &yen; and numeric references, in one
// pass (so "&amp;gt;" reads "&gt;"); anything else stays as it is.
QString decodeEntities(const QString &html);

// Tags dropped, entities decoded, white space folded.
QString plain(const QString &html);

} // namespace HtmlText
