#pragma once

#include <QString>

class QObject;
class QWebEngineProfile;

// One profile for all tabs. A persistent one keeps the user's marketplace
// log-in and cache between runs; tests use a throw-away one.
namespace BrowserProfile {
QWebEngineProfile *persistent(const QString &programFolder, QObject *parent);
QWebEngineProfile *offTheRecord(QObject *parent);
}
