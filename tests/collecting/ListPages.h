#pragma once

#include <QByteArray>
#include <QString>

// List pages as the tests and the benchmark serve them: offers linked from
// their picture and their title, and a 下一页 at the end.
namespace ListPages {

// Two links per offer (the second with a tracking query), offers `from` .. from+count-1.
QString offers(int from, int count);
// A whole page around `body`, with `script` run after it.
QByteArray page(const QString &body, const QString &script = {});
// A shop page of `count` offers from `from` whose 下一页 links to `next` (none when empty).
QByteArray shopPage(int from, int count, const QString &next);

// Every form of product link once, with repeats and links that are no
// offers, one offer drawn by script after the load and one appended when the
// end of the page is scrolled into view.
QByteArray everyForm();
// A search of `pages` pages whose 下一页 button redraws the list by script a
// little later, and is disabled on the last page; offers page*100 + 0.. .
QByteArray searchPage(int pages, int perPage);
// A page that adds an offer and some height every few milliseconds, for ever.
QByteArray endlessPage();

} // namespace ListPages
