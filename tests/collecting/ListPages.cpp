#include "ListPages.h"

using namespace Qt::StringLiterals;

namespace ListPages {

QString offers(int from, int count)
{
    QString html;
    for (int n = from; n < from + count; ++n)
        html += u"<div class=item><a href=\"/offer/%1.html\"><img width=100 height=100></a>"
                u"<a href=\"/offer/%1.html?spm=a.b.%1#top\">宝贝 %1</a></div>\n"_s.arg(n);
    return html;
}

QByteArray page(const QString &body, const QString &script)
{
    return (u"<!DOCTYPE html><html><head><meta charset=utf-8><title>全部商品</title></head><body>"_s + body
            + u"<script>"_s + script + u"</script></body></html>"_s).toUtf8();
}

QByteArray shopPage(int from, int count, const QString &next)
{
    const QString pager = next.isEmpty() ? u"<span class=\"next disabled\">下一页</span>"_s
                                         : u"<div class=pager><a href=\"1.html\">1</a> <a href=\"%1\">下一页 &gt;</a></div>"_s.arg(next);
    return page(offers(from, count) + pager);
}

QByteArray everyForm()
{
    const QString links = uR"(
<a href="https://detail.1688.com/offer/101.html?spm=a.b">desktop</a>
<a href="http://m.1688.com/offer/102.html#top">mobile</a>
<a href="https://detail.m.1688.com/page/index.html?offerId=103&spm=x">mobile page</a>
<a href="//detail.1688.com/offer/104.html">no scheme</a>
<a href="../offer/5.html">relative</a>
<a href="/offer/6.html?from=list">root-relative</a>
<a href="https://detail.1688.com/offer/101.html">desktop again</a>
<a href="https://m.1688.com/offer/101.html">mobile twin</a>
<a href="https://shop123.1688.com/">shop</a>
<a href="https://s.1688.com/selloffer/offer_search.htm?keywords=cup">search</a>
<a href="/offer/abc.html">letters</a>
<a href="javascript:location='/offer/9.html'">script</a>
<div id=drawn></div><div style="height:4000px"></div><div id=lazy></div>)"_s;
    const QString script = uR"(
setTimeout(function () { document.getElementById('drawn').innerHTML = '<a href="/offer/7.html">drawn</a>'; }, 100);
var appended = false;
window.addEventListener('scroll', function () {
    if (appended || window.innerHeight + window.scrollY < document.body.scrollHeight - 100) return;
    appended = true;
    document.getElementById('lazy').innerHTML = '<a href="/offer/8.html">appended</a><div style="height:2000px"></div>';
});)"_s;
    return page(links, script);
}

QByteArray searchPage(int pages, int perPage)
{
    const QString script = uR"(
var page = 1, pages = %1, perPage = %2;
function draw() {
    var html = '';
    for (var i = 0; i < perPage; ++i) html += '<a href="/offer/' + (page * 100 + i) + '.html">o</a> ';
    document.getElementById('list').innerHTML = html;
    document.getElementById('next').disabled = page == pages;
}
document.getElementById('next').addEventListener('click', function () {
    document.getElementById('list').innerHTML = '';
    setTimeout(function () { ++page; draw(); }, 150);
});
draw();)"_s;
    return page(u"<div id=list></div><button id=next>下一页</button>"_s, script.arg(pages).arg(perPage));
}

QByteArray endlessPage()
{
    const QString script = u"var n = 1; setInterval(function () {"
                           u" var d = document.createElement('div'); d.style.height = '300px';"
                           u" d.innerHTML = '<a href=\"/offer/' + n++ + '.html\">o</a>'; document.body.appendChild(d); }, 5);"_s;
    return page(QString(), script);
}

} // namespace ListPages
