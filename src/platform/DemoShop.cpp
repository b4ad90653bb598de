#include "platform/DemoShop.h"

#include "platform/DemoShopConnection.h"
#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTcpSocket>

#ifndef PICTORRA_SAMPLE_SHOP_DIR
#define PICTORRA_SAMPLE_SHOP_DIR ""
#endif

namespace {
const QString ItemPage = QStringLiteral("item.html");
}

DemoShop::DemoShop(const QString &folder, QObject *parent)
    : QObject(parent), m_folder(folder)
{
    connect(&m_server, &QTcpServer::newConnection, this, &DemoShop::acceptConnections);
}

bool DemoShop::start()
{
    if (m_server.isListening())
        return true;
    const QFileInfo folder(m_folder);
    if (!folder.isDir() || !QFileInfo(QDir(m_folder).filePath(ItemPage)).isFile()) {
        m_error = QStringLiteral("no sample shop (item.html) in \"%1\"").arg(m_folder);
        return false;
    }
    m_root = folder.canonicalFilePath();
    if (!m_server.listen(QHostAddress::LocalHost, 0)) {
        m_error = QStringLiteral("cannot listen on 127.0.0.1: %1").arg(m_server.errorString());
        return false;
    }
    m_error.clear();
    return true;
}

QUrl DemoShop::baseUrl() const
{
    if (!m_server.isListening())
        return QUrl();
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
}

QUrl DemoShop::itemUrl() const
{
    if (!m_server.isListening())
        return QUrl();
    return QUrl(baseUrl().toString() + QLatin1Char('/') + ItemPage);
}

QString DemoShop::defaultFolder()
{
    const QString beside = ProgramFolder::installed() + QStringLiteral("/samples/shop");
    if (QFileInfo(QDir(beside).filePath(ItemPage)).isFile())
        return beside;
    return QString::fromUtf8(PICTORRA_SAMPLE_SHOP_DIR);
}

void DemoShop::acceptConnections()
{
    const QByteArray base = baseUrl().toString().toUtf8();
    while (QTcpSocket *socket = m_server.nextPendingConnection())
        new DemoShopConnection(socket, m_root, base, this);
}
