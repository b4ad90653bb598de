#include "batch/BatchAddresses.h"

#include "platform/PlainFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 MaxListBytes = 8 * 1024 * 1024;

// Offer pages: detail.1688.com/offer/N.html, m.1688.com/offer/N.html and the
// mobile page's ...?offerId=N form; the scheme is optional in pasted prose.
const QRegularExpression &offerPattern()
{
    static const QRegularExpression pattern(
        uR"((?:https?://)?(?:[a-z0-9-]+\.)*1688\.com/(?:offer/(\d{4,20})\.html|[^\s"'<>]*?[?&]offerId=(\d{4,20})))"_s,
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

QString offerAddress(const QString &id)
{
    return u"https://detail.1688.com/offer/"_s + id + u".html"_s;
}

// A line that is nothing but one http(s) address (the sample shop, tests).
QString plainAddress(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(QRegularExpression(u"\\s"_s)))
        return {};
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != u"http"_s && scheme != u"https"_s))
        return {};
    return BatchAddresses::normalised(trimmed);
}

} // namespace

QStringList BatchAddresses::read(const QString &text)
{
    return readWithReport(text).addresses;
}

BatchAddresses::Reading BatchAddresses::readWithReport(const QString &text)
{
    Reading reading;
    QSet<QString> seen;
    auto add = [&](const QString &address) {
        if (seen.contains(address)) {
            ++reading.merged;
            return;
        }
        seen.insert(address);
        reading.addresses.append(address);
    };
    for (const QString &line : text.split(QRegularExpression(u"[\r\n]+"_s), Qt::SkipEmptyParts)) {
        bool found = false;
        auto it = offerPattern().globalMatch(line);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const QString id = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
            add(offerAddress(id));
            found = true;
        }
        if (found)
            continue;
        if (const QString plain = plainAddress(line); !plain.isEmpty())
            add(plain);
        else if (!line.trimmed().isEmpty())
            reading.ignored.append(line.trimmed());
    }
    return reading;
}

QString BatchAddresses::Reading::dropped() const
{
    // A few of the lines, each cut short: enough to recognise them.
    constexpr int Shown = 3;
    constexpr int Chars = 24;
    QStringList parts;
    if (!ignored.isEmpty()) {
        QStringList lines;
        for (const QString &line : ignored.mid(0, Shown))
            lines << (line.size() > Chars ? line.left(Chars) + u"…"_s : line);
        if (ignored.size() > Shown)
            lines << u"…"_s;
        parts << u"忽略%1行（不是宝贝地址）：%2"_s.arg(ignored.size()).arg(lines.join(u"、"_s));
    }
    if (merged > 0)
        parts << u"合并%1个重复"_s.arg(merged);
    return parts.join(u", "_s);
}

QString BatchAddresses::normalised(const QString &address)
{
    QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return address;
    url = url.adjusted(QUrl::RemoveFragment | QUrl::NormalizePathSegments);
    const QString scheme = url.scheme().toLower();
    url.setScheme(scheme);
    url.setHost(url.host().toLower());
    if ((scheme == u"http"_s && url.port() == 80) || (scheme == u"https"_s && url.port() == 443))
        url.setPort(-1);
    if (url.path().isEmpty())
        url.setPath(u"/"_s);
    return url.toString(QUrl::FullyEncoded);
}

QString BatchAddresses::decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    QStringDecoder gbk("GBK");
    if (!gbk.isValid()) // no codec library: keep what UTF-8 could read
        return text;
    return gbk.decode(bytes);
}

QStringList BatchAddresses::readFile(const QString &path, QString *error)
{
    return readFileWithReport(path, error).addresses;
}

BatchAddresses::Reading BatchAddresses::readFileWithReport(const QString &path, QString *error)
{
    // Only a regular file is read whole here: a pipe is read as a stream
    // (BatchAddressStream), and reading one here would wait for its writer.
    QFile file;
    if (!PlainFile::openToRead(file, path, error))
        return {};
    if (file.size() > MaxListBytes) {
        if (error)
            *error = u"文件太大"_s;
        return {};
    }
    return readWithReport(decode(file.read(MaxListBytes)));
}
