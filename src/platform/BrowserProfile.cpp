#include "platform/BrowserProfile.h"

#include "platform/ProgramFolder.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>

namespace BrowserProfile {

namespace {
// A page may open windows only on the user's click: product pages have been
// seen opening dozens of them from a script, each becoming a tab.
QWebEngineProfile *guarded(QWebEngineProfile *profile)
{
    profile->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    return profile;
}
}

QWebEngineProfile *persistent(const QString &programFolder, QObject *parent)
{
    auto *profile = new QWebEngineProfile(QStringLiteral("Pictorra"), parent);
    const QString storage = ProgramFolder::join(programFolder, QStringLiteral("browser"));
    profile->setPersistentStoragePath(storage);
    profile->setCachePath(ProgramFolder::join(storage, QStringLiteral("cache")));
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    return guarded(profile);
}

QWebEngineProfile *offTheRecord(QObject *parent)
{
    return guarded(new QWebEngineProfile(parent));
}

} // namespace BrowserProfile
