#include "batch/BatchAddressStream.h"

#include "batch/BatchAddresses.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// No address is this long: a line past it is dropped rather than held.
constexpr qsizetype MaxLineBytes = 64 * 1024;
} // namespace

BatchAddressStream::BatchAddressStream(QObject *parent) : QObject(parent)
{
}

BatchAddressStream::~BatchAddressStream()
{
    delete m_notifier;
    if (m_ownFd && m_fd >= 0)
        ::close(m_fd);
}

bool BatchAddressStream::isStream(const QString &list)
{
    const QFileInfo info(list);
    return list == u"-"_s || (info.exists() && !info.isFile() && !info.isDir());
}

bool BatchAddressStream::open(const QString &list, QString *error)
{
    m_ownFd = list != u"-"_s;
    // Not blocking: opening a pipe would otherwise wait for its writer. Until
    // one comes the pipe is simply not readable.
    m_fd = m_ownFd ? ::open(QFile::encodeName(list).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : STDIN_FILENO;
    if (m_fd < 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &BatchAddressStream::readSome);
    return true;
}

void BatchAddressStream::readSome()
{
    char buffer[16 * 1024];
    const ssize_t read = ::read(m_fd, buffer, sizeof buffer);
    if (read < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (read <= 0) {
        end();
        return;
    }
    m_pending.append(buffer, read);
    const qsizetype last = m_pending.lastIndexOf('\n');
    if (last >= 0) {
        const QByteArray lines = m_pending.first(last + 1);
        m_pending.remove(0, last + 1);
        hand(lines);
    }
    if (m_pending.size() > MaxLineBytes)
        m_pending.clear();
}

void BatchAddressStream::hand(const QByteArray &lines)
{
    const QStringList addresses = BatchAddresses::read(BatchAddresses::decode(lines));
    if (!addresses.isEmpty())
        emit arrived(addresses);
}

void BatchAddressStream::end()
{
    delete m_notifier;
    m_ended = true;
    const QByteArray last = std::exchange(m_pending, {});
    QPointer<BatchAddressStream> self(this);
    hand(last);
    if (self)
        emit ended();
}
