#include "PictureShop.h"

#include <QBuffer>
#include <QImage>
#include <QRandomGenerator>

#include <httplib.h>

#include <string>

QByteArray NoisyJpeg(int width, int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(width, 24, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xff000000u | (random.generate() & 0xffffffu);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 80);
    // Readers stop at the end-of-image marker: the padding only adds weight.
    const qsizetype picture = bytes.size();
    if (picture < size) {
        QByteArray padding((size - picture + 3) / 4 * 4, Qt::Uninitialized);
        random.fillRange(reinterpret_cast<quint32 *>(padding.data()), padding.size() / 4);
        bytes.append(padding.left(size - picture));
    }
    return bytes;
}

PictureShop::PictureShop(int count, int size, int width) : m_server(std::make_unique<LoopbackServer>())
{
    // One connection must be able to carry every request of a run.
    m_server->setKeepAliveMaxCount(100000);
    m_server->setNoDelay(true);
    for (int i = 0; i < count; ++i) {
        m_pictures.push_back(NoisyJpeg(width, size, quint32(i + 1)));
        m_urls << m_server->url(QStringLiteral("/p/%1.jpg").arg(i));
    }
    const std::vector<QByteArray> *pictures = &m_pictures;
    m_server->serveHandler(QStringLiteral("/p/(\\d+)\\.jpg"),
                           [pictures](const httplib::Request &request, httplib::Response &response) {
                               const size_t index = std::stoul(request.matches[1].str());
                               if (index >= pictures->size()) {
                                   response.status = 404;
                                   return;
                               }
                               const QByteArray &bytes = pictures->at(index);
                               response.set_content(bytes.constData(), size_t(bytes.size()), "image/jpeg");
                           });
}
