#include "platform/BrowserProfile.h"

#include "platform/ProgramFolder.h"

#include <QWebEngineProfile>

namespace BrowserProfile {

QWebEngineProfile *persistent(const QString &programFolder, QObject *parent)
{
    auto *profile = new QWebEngineProfile(QStringLiteral("Pictorra"), parent);
    const QString storage = ProgramFolder::join(programFolder, QStringLiteral("browser"));
    profile->setPersistentStoragePath(storage);
    profile->setCachePath(ProgramFolder::join(storage, QStringLiteral("cache")));
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    return profile;
}

QWebEngineProfile *offTheRecord(QObject *parent)
{
    return new QWebEngineProfile(parent);
}

} // namespace BrowserProfile
