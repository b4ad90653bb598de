#include "BenchPages.h"

using namespace Qt::StringLiterals;

namespace {

QString textBlock(int n)
{
    return u"<p style=\"margin:0;padding:0;line-height:1.5;font-family:微软雅黑;color:#333\">"
           "<span style=\"font-size:14px\">【产品特点】第%1款 精选优质面料，柔软亲肤，透气舒适；"
           "版型修身显瘦，做工精细，走线均匀。尺码：S/M/L/XL，颜色：黑色、白色、灰色。"
           "温馨提示：由于拍摄光线及显示器不同，图片颜色可能略有差异，请以实物为准。</span></p>"
           "<table cellpadding=\"0\" cellspacing=\"0\" border=\"1\"><tbody><tr><td>货号</td>"
           "<td>A-%1</td><td>面料</td><td>棉95% 氨纶5%</td></tr></tbody></table>"_s.arg(n);
}

QString link(int n)
{
    return u"<a href=\"https://detail.example.com/offer/6%1.html\" target=\"_blank\" "
           "style=\"text-decoration:none\">查看同款 %1</a> "_s.arg(n, 8, 10, QLatin1Char('0'));
}

QString picture(int n)
{
    return u"https://cbu01.example.com/img/ibank/O1CN01%1_!!2206%1-0-cib.jpg"_s.arg(n, 10, 10,
                                                                                   QLatin1Char('0'));
}

} // namespace

BenchPage RealisticDescription(qsizetype utf8Bytes, int pictures)
{
    BenchPage page;
    // One picture per `blocksPerPicture` blocks of text and links.
    const qsizetype blockBytes = (textBlock(0) + link(0)).toUtf8().size();
    const qsizetype blocksPerPicture = utf8Bytes / blockBytes / pictures + 1;
    QString &html = page.html;
    html += u"<div class=\"desc-content\" style=\"width:750px\">"_s;
    int block = 0;
    for (int p = 0; p < pictures; ++p) {
        for (qsizetype k = 0; k < blocksPerPicture; ++k, ++block)
            html += textBlock(block) + link(block);
        // Real descriptions put a link right before many pictures: the first
        // pass then runs from the link into the picture.
        html += u"<img class=\"desc-img\" alt=\"详情%1\" style=\"display:block;width:750px\" "
                "src=\"%2\">"_s.arg(p).arg(picture(p));
        page.expectedDescPics << picture(p);
    }
    html += u"</div>"_s;
    return page;
}

QString LinksWithoutPictures(int links)
{
    QString html;
    html.reserve(links * 40);
    for (int i = 0; i < links; ++i)
        html += u"<a href=\"http://h/p.html\">商品链接</a> "_s;
    return html;
}
