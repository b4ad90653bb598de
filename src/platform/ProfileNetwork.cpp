#include "platform/ProfileNetwork.h"

#include <QNetworkCookieJar>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

namespace {
// insertCookie and deleteCookie are protected in the base jar.
class CopiedJar : public QNetworkCookieJar
{
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    void add(const QNetworkCookie &cookie) { insertCookie(cookie); }
    void remove(const QNetworkCookie &cookie) { deleteCookie(cookie); }
};
}

ProfileNetwork::ProfileNetwork(QWebEngineProfile *profile, QObject *parent) : QNetworkAccessManager(parent)
{
    auto *jar = new CopiedJar(this);
    setCookieJar(jar);
    jar->setParent(this);
    if (!profile)
        return;
    QWebEngineCookieStore *store = profile->cookieStore();
    connect(store, &QWebEngineCookieStore::cookieAdded, jar, [jar](const QNetworkCookie &c) { jar->add(c); });
    connect(store, &QWebEngineCookieStore::cookieRemoved, jar, [jar](const QNetworkCookie &c) { jar->remove(c); });
    store->loadAllCookies();
}
