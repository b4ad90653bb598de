#pragma once

#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QUrl>

// The bundled sample shop, served by the program itself on 127.0.0.1 and a
// free port, so the main road can be tried without network access. Serves the
// files of one folder to GET (and HEAD) requests; in .html files "{{BASE}}"
// becomes "http://127.0.0.1:PORT", since pages must name their pictures by
// absolute address and the port is known only once the server listens.
class DemoShop : public QObject
{
    Q_OBJECT
public:
    explicit DemoShop(const QString &folder, QObject *parent = nullptr);

    // Listens on a free loopback port; false with errorString() when the
    // folder holds no shop or no port can be had. Calling it again while
    // listening changes nothing.
    bool start();
    bool isListening() const { return m_server.isListening(); }
    QString errorString() const { return m_error; }
    QString folder() const { return m_folder; }

    // "http://127.0.0.1:PORT", empty before a successful start().
    QUrl baseUrl() const;
    // baseUrl() + "/item.html": the product page.
    QUrl itemUrl() const;

    // The shop beside the executable (samples/shop, copied there by the
    // build), else the one in the source tree.
    static QString defaultFolder();

private:
    void acceptConnections();

    QString m_folder;
    QString m_root;
    QString m_error;
    QTcpServer m_server;
};
