#include "picking/designs/PictureAddress.h"

#include <QRegularExpression>

namespace PictureAddress {

QString fullSize(const QString &address)
{
    QString out = address.trimmed();
    if (out.startsWith(QLatin1String("//")))
        out.prepend(QLatin1String("https:"));
    // A page's data names pictures on the web; anything else is nothing we fetch.
    if (!out.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) && !out.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return QString();
    const qsizetype query = out.indexOf(QRegularExpression(QStringLiteral("[?#]")));
    if (query >= 0)
        out.truncate(query);
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

QStringList fullSize(const QStringList &addresses)
{
    QStringList out;
    for (const QString &address : addresses)
        if (const QString full = fullSize(address); !full.isEmpty())
            out << full;
    return out;
}

QStringList imageSources(const QString &html)
{
    static const QRegularExpression image(QStringLiteral("<img\\b[^>]*?\\ssrc\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (const QRegularExpressionMatch &m : image.globalMatch(html)) {
        const QString src = m.captured(1) + m.captured(2) + m.captured(3);
        if (const QString full = fullSize(src); !full.isEmpty())
            out << full;
    }
    return out;
}

} // namespace PictureAddress
