#include "picking/designs/PictureAddress.h"

#include <QRegularExpression>

namespace PictureAddress {

QString schemeOf(const QString &pageUrl)
{
    return pageUrl.startsWith(QLatin1String("http:"), Qt::CaseInsensitive) ? QStringLiteral("http") : QStringLiteral("https");
}

QString fullSize(const QString &address, const QString &scheme)
{
    QString out = address.trimmed();
    if (out.startsWith(QLatin1String("//")))
        out.prepend(scheme + u':');
    // A page's data names pictures on the web; anything else is nothing we fetch.
    if (!out.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) && !out.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return QString();
    const qsizetype query = out.indexOf(u'?');
    const qsizetype fragment = out.indexOf(u'#');
    if (query >= 0 || fragment >= 0)
        out.truncate(query < 0 ? fragment : fragment < 0 ? query : qMin(query, fragment));
    // The first picture extension of the file name ends the address; what the
    // picture server appends after it (_b.jpg, _.webp, .310x310.jpg) is a resized copy.
    static const QRegularExpression extension(QStringLiteral("\\.(jpe?g|png|gif|webp|bmp)(?=$|[._])"),
                                              QRegularExpression::CaseInsensitiveOption);
    const qsizetype nameStart = out.lastIndexOf(QLatin1Char('/')) + 1;
    const QRegularExpressionMatch match = extension.match(out, nameStart);
    if (!match.hasMatch())
        return out;
    out.truncate(match.capturedEnd());
    static const QRegularExpression sizeMark(QStringLiteral("(?:[._]\\d+x\\d+|_sum|\\.summ|\\.search)(?=\\.\\w+$)"),
                                             QRegularExpression::CaseInsensitiveOption);
    out.remove(sizeMark);
    return out;
}

QStringList fullSize(const QStringList &addresses, const QString &scheme)
{
    QStringList out;
    for (const QString &address : addresses)
        if (const QString full = fullSize(address, scheme); !full.isEmpty())
            out << full;
    return out;
}

bool isPicture(const QString &address)
{
    const QString full = fullSize(address);
    static const QRegularExpression picture(QStringLiteral("/[^/]*\\.(jpe?g|png|gif|webp|bmp)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return !full.isEmpty() && picture.match(full).hasMatch();
}

QStringList imageSources(const QString &html, const QString &scheme)
{
    static const QRegularExpression image(QStringLiteral("<img\\b[^>]*?\\ssrc\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (const QRegularExpressionMatch &m : image.globalMatch(html)) {
        const QString src = m.captured(1) + m.captured(2) + m.captured(3);
        if (const QString full = fullSize(src, scheme); !full.isEmpty())
            out << full;
    }
    return out;
}

} // namespace PictureAddress
