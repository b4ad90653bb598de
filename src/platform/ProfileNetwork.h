#pragma once

#include <QNetworkAccessManager>

class QWebEngineProfile;

// A network manager that carries the cookies of a browser profile, so that a
// file fetched for a tab is asked for as the tab itself would ask (a user
// logged in there stays logged in here).
class ProfileNetwork : public QNetworkAccessManager
{
    Q_OBJECT
public:
    ProfileNetwork(QWebEngineProfile *profile, QObject *parent);
};
