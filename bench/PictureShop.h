#pragma once

#include "support/LoopbackServer.h"

#include <QByteArray>
#include <QStringList>

#include <memory>
#include <vector>

// A loopback server holding `count` different pictures of `size` bytes each:
// noisy JPEGs `width` pixels wide, padded with random bytes after their end
// so that every one has exactly `size` bytes. One handler serves them all, so
// the server's routing costs the same for every request.
class PictureShop
{
public:
    PictureShop(int count, int size, int width = 750);

    QStringList urls() const { return m_urls; }
    const std::vector<QByteArray> &pictures() const { return m_pictures; }
    LoopbackServer &server() { return *m_server; }

private:
    // The server goes first so that no request outlives the pictures.
    std::vector<QByteArray> m_pictures;
    QStringList m_urls;
    std::unique_ptr<LoopbackServer> m_server;
};

QByteArray NoisyJpeg(int width, int size, quint32 seed);
