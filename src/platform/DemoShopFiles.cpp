#include "platform/DemoShopFiles.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

namespace DemoShopFiles {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray pathPart(const QByteArray &target)
{
    qsizetype end = target.size();
    for (const char stop : {'?', '#'}) {
        const qsizetype at = target.indexOf(stop);
        if (at >= 0 && at < end)
            end = at;
    }
    return target.left(end);
}

} // namespace

bool percentDecode(const QByteArray &in, QByteArray *out)
{
    out->clear();
    out->reserve(in.size());
    for (qsizetype i = 0; i < in.size(); ++i) {
        if (in.at(i) != '%') {
            out->append(in.at(i));
            continue;
        }
        const int high = i + 1 < in.size() ? hexValue(in.at(i + 1)) : -1;
        const int low = i + 2 < in.size() ? hexValue(in.at(i + 2)) : -1;
        if (high < 0 || low < 0)
            return false;
        out->append(char(high * 16 + low));
        i += 2;
    }
    return true;
}

Lookup find(const QString &root, const QByteArray &target)
{
    QByteArray bytes;
    if (!target.startsWith('/') || !percentDecode(pathPart(target), &bytes))
        return {400, {}};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8.decode(bytes);
    if (utf8.hasError() || decoded.contains(QChar(0)) || decoded.contains(QLatin1Char('\\')))
        return {400, {}};
    QStringList kept;
    for (const QString &segment : decoded.split(QLatin1Char('/'))) {
        if (segment == QLatin1String(".."))
            return {400, {}};
        if (segment.isEmpty() || segment == QLatin1String("."))
            continue;
        if (segment.startsWith(QLatin1Char('.')))
            return {404, {}};
        kept.append(segment);
    }
    const QFileInfo info(root + QLatin1Char('/') + kept.join(QLatin1Char('/')));
    if (kept.isEmpty() || !info.isFile())
        return {404, {}};
    const QString canonical = info.canonicalFilePath();
    if (!canonical.startsWith(root + QLatin1Char('/')))
        return {404, {}};
    return {200, canonical};
}

QByteArray contentType(const QString &path)
{
    static const QList<std::pair<QLatin1String, QByteArray>> types = {
        {QLatin1String("html"), "text/html; charset=utf-8"},
        {QLatin1String("htm"), "text/html; charset=utf-8"},
        {QLatin1String("css"), "text/css; charset=utf-8"},
        {QLatin1String("js"), "text/javascript; charset=utf-8"},
        {QLatin1String("json"), "application/json"},
        {QLatin1String("txt"), "text/plain; charset=utf-8"},
        {QLatin1String("jpg"), "image/jpeg"},
        {QLatin1String("jpeg"), "image/jpeg"},
        {QLatin1String("png"), "image/png"},
        {QLatin1String("gif"), "image/gif"},
        {QLatin1String("bmp"), "image/bmp"},
        {QLatin1String("webp"), "image/webp"},
        {QLatin1String("svg"), "image/svg+xml"},
        {QLatin1String("ico"), "image/x-icon"},
    };
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const auto &[extension, type] : types) {
        if (suffix == extension)
            return type;
    }
    return "application/octet-stream";
}

bool isTemplate(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
}

} // namespace DemoShopFiles
