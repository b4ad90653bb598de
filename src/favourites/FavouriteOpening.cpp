#include "favourites/FavouriteOpening.h"

#include "favourites/LinkFile.h"

QString FavouriteOpening::formatErrorMessage() { return QStringLiteral("文件格式错误。"); }

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
        opening.action = Action::Load;
        opening.address = reading.address;
        opening.newTab = !flag && addressBoxText.toLower() != QLatin1String("about:blank");
        break;
    }
    return opening;
}
