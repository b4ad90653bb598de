#include "favourites/FavouriteOpening.h"

#include "base/DisplayText.h"
#include "favourites/LinkFile.h"

#include <QUrl>

QString FavouriteOpening::formatErrorMessage() { return QStringLiteral("文件格式错误。"); }

namespace {

// Read as the browser reads it, so that what passes here is what it loads.
bool isWebAddress(const QString &address)
{
    const QString scheme = QUrl::fromUserInput(address).scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

QString refusalMessage(const QString &address)
{
    // A data: address can be megabytes long; its start tells what it is.
    constexpr qsizetype Shown = 200;
    const QString shown = TerminalText(address.left(Shown)) + (address.size() > Shown ? QStringLiteral("…") : QString());
    return QStringLiteral("无法打开收藏：只能打开 http 或 https 网址。\n") + shown;
}

} // namespace

FavouriteOpening FavouriteOpening::decide(const QString &path, bool flag, const QString &addressBoxText)
{
    const LinkReading reading = LinkFile::read(path);
    FavouriteOpening opening;
    switch (reading.kind) {
    case LinkReading::Kind::Nothing:
        break;
    case LinkReading::Kind::FormatError:
        opening.action = Action::ShowFormatError;
        opening.message = formatErrorMessage();
        break;
    case LinkReading::Kind::Address:
        if (!isWebAddress(reading.address)) {
            opening.action = Action::Refuse;
            opening.message = refusalMessage(reading.address);
            break;
        }
        opening.action = Action::Load;
        opening.address = reading.address;
        opening.newTab = !flag && addressBoxText.toLower() != QLatin1String("about:blank");
        break;
    }
    return opening;
}
