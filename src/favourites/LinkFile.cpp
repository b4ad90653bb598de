#include "favourites/LinkFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace LinkFile {

namespace {

// A favourite is two short lines; anything beyond this is not read.
constexpr qint64 ReadLimit = 1 << 20;

// Splits off one line at `from`. A line ends at CR, CR LF or a lone LF; the
// bytes of both encodings never hold CR or LF inside a character.
// Returns false when no line starts at `from`.
bool nextLine(const QByteArray &content, qsizetype &from, QByteArray &line)
{
    if (from >= content.size())
        return false;
    qsizetype end = from;
    while (end < content.size() && content[end] != '\r' && content[end] != '\n')
        ++end;
    line = content.mid(from, end - from);
    if (end < content.size() && content[end] == '\r')
        ++end;
    if (end < content.size() && content[end] == '\n')
        ++end;
    from = end;
    return true;
}

QString decodeGbk(const QByteArray &bytes)
{
    // Qt decodes GBK through ICU (Debian's Qt is built with it); GB18030 is
    // the superset ICU also knows, tried should an ICU build lack the alias.
    for (const char *name : {"GBK", "GB18030"}) {
        QStringDecoder decoder(name);
        if (decoder.isValid())
            return decoder.decode(bytes);
    }
    return QString::fromLatin1(bytes);
}

} // namespace

QString marker() { return QStringLiteral("[Fai.link]"); }
QString extension() { return QStringLiteral(".link"); }

bool hasLinkExtension(const QString &path)
{
    return path.endsWith(extension(), Qt::CaseInsensitive);
}

QString decodeLine(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeGbk(bytes);
}

LinkReading parse(const QByteArray &content)
{
    qsizetype at = 0;
    QByteArray first, second;
    if (!nextLine(content, at, first) || decodeLine(first) != marker())
        return LinkReading::formatError();
    if (!nextLine(content, at, second) || second.isEmpty())
        return LinkReading::formatError();
    return LinkReading::of(decodeLine(second));
}

LinkReading read(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return LinkReading::nothing();
    if (!hasLinkExtension(path))
        return LinkReading::of(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return LinkReading::nothing();
    const QByteArray bytes = file.read(ReadLimit);
    file.close();
    return parse(bytes);
}

QByteArray content(const QString &address)
{
    return marker().toUtf8() + "\r\n" + address.toUtf8() + "\r\n";
}

bool create(const QString &path, const QString &address)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const QByteArray bytes = content(address);
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        file.remove();
        return false;
    }
    return true;
}

} // namespace LinkFile
