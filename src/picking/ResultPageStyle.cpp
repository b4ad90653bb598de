#include "picking/ResultPageStyle.h"

using namespace Qt::StringLiterals;

// The picture sections break their rows with <p> every few pictures; shown
// as "contents" those paragraphs let the pictures flow across the whole
// width. CSS sizes win over the <img width height> attributes, so each
// picture is drawn whole (object-fit: contain) inside the same box.
QString ResultPageStyle::ownPiece()
{
    return uR"(<style>
body { font-family: "Noto Sans CJK SC", "Source Han Sans SC", "WenQuanYi Micro Hei", "Microsoft YaHei", sans-serif;
  font-size: 14px; color: #222; margin: 12px 16px; line-height: 1.5; }
a { color: #1a5fb4; word-break: break-all; }
div > font[fontsize="8"] { display: block; font-size: 15px; font-weight: bold; margin: 12px 0 6px; }
#mod-detail, #desc-lazyload-container, #sku-pics { clear: both; }
#mod-detail p, #desc-lazyload-container p, #sku-pics p { display: contents; }
#mod-detail img, #desc-lazyload-container img {
  width: 180px; height: 180px; object-fit: contain; vertical-align: top;
  margin: 0 2px 6px 0; border: 1px solid #ddd; border-radius: 3px; background: #f6f6f6; }
#sku-pics img { object-fit: contain; border: 1px solid #ddd; background: #f6f6f6; }
#sku-pics font { font-size: 13px; }
#product-info { margin-top: 8px; }
.product-part { margin-bottom: 10px; }
.product-part video { display: block; max-width: 480px; max-height: 360px; background: #000; }
.product-table { border-collapse: collapse; font-size: 13px; max-width: min(100%, 1000px); }
.product-table th, .product-table td { border: 1px solid #ddd; padding: 2px 10px; text-align: left;
  vertical-align: top; unicode-bidi: isolate; overflow-wrap: anywhere; }
.product-table td:first-child { min-width: 7em; }
.product-table th { background: #f3f3f3; font-weight: 600; white-space: nowrap; }
.product-more { color: #777; font-size: 13px; margin-top: 4px; }
#pick-counts { position: sticky; top: 0; z-index: 1; background: #fff; color: #222; font-weight: 600;
  padding: 4px 8px; border-bottom: 1px solid #ddd; margin: 0 -16px 8px; }
.pick-cell { display: inline-block; vertical-align: top; text-align: center; margin: 0 2px 6px 0; }
.pick-cell img { display: block; margin: 0 auto 2px; }
/* The video's cell is its whole part: its heading stays on the left like the others. */
.product-part.pick-cell { display: block; text-align: left; }
.pick-bar { display: block; font-size: 12px; line-height: 1.4; color: #444; white-space: nowrap; }
.pick-tick { font-size: 17px; text-decoration: none; color: #1a5fb4; margin-right: 4px; }
.pick-word { color: #b00020; margin-left: 4px; font-weight: 600; }
.pick-off img, .pick-off video { opacity: 0.35; filter: grayscale(1); }
.pick-head { font-weight: normal; font-size: 13px; margin-left: 10px; }
.pick-head a { margin-right: 8px; }
.pick-note { color: #555; }
.pick-files { font-size: 13px; margin-right: 4px; }
.pick-info.pick-off .pick-files { text-decoration: line-through; opacity: 0.6; }
</style>)"_s;
}
