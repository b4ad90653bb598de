#include "platform/PlainFile.h"

#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

QString linkRefusal(const QString &path)
{
    return u"%1 是一个链接, 不会通过它写入"_s.arg(path);
}

QString notRegular(const QString &path)
{
    return u"%1 不是普通文件"_s.arg(path);
}

#ifdef Q_OS_UNIX
QString systemError(const QString &path)
{
    return errno == ELOOP ? linkRefusal(path) : path + u": "_s + QString::fromLocal8Bit(std::strerror(errno));
}

// What an open descriptor is: a refusal, or empty for a plain regular file.
QString descriptorRefusal(int fd, const QString &path, bool single)
{
    struct stat info;
    if (::fstat(fd, &info) != 0)
        return systemError(path);
    if (!S_ISREG(info.st_mode))
        return notRegular(path);
    if (single && info.st_nlink > 1)
        return u"%1 另有硬链接, 不会写入"_s.arg(path);
    return {};
}

// `fd` handed to `file`, or closed with the reason.
bool adopt(QFile &file, int fd, QIODevice::OpenMode mode, const QString &path, bool single, QString *error)
{
    if (fd < 0)
        return fail(error, systemError(path));
    const QString refusal = descriptorRefusal(fd, path, single);
    if (refusal.isEmpty() && (!(mode & QIODevice::WriteOnly) || ::ftruncate(fd, 0) == 0)
        && file.open(fd, mode, QFileDevice::AutoCloseHandle))
        return true;
    const QString reason = refusal.isEmpty() ? systemError(path) : refusal;
    ::close(fd);
    return fail(error, reason);
}
#endif

} // namespace

namespace PlainFile {

QString writeRefusal(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return linkRefusal(path);
    if (!info.exists())
        return {};
    if (!info.isFile())
        return notRegular(path);
#ifdef Q_OS_UNIX
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) == 0 && status.st_nlink > 1)
        return u"%1 另有硬链接, 不会写入"_s.arg(path);
#endif
    return {};
}

bool readable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isFile())
        return true;
    static QMutex mutex;
    static QSet<QString> said;
    const QMutexLocker locker(&mutex);
    if (!said.contains(path)) {
        said.insert(path);
        std::fprintf(stderr, "pictorra: %s, 已跳过\n", qPrintable(notRegular(path)));
    }
    return false;
}

bool openToRead(QFile &file, const QString &path, QString *error)
{
#ifdef Q_OS_UNIX
    // Not blocking: a pipe would wait in open() for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    return adopt(file, fd, QIODevice::ReadOnly, path, false, error);
#else
    if (!QFileInfo(path).isFile())
        return fail(error, notRegular(path));
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly) || fail(error, path + u": "_s + file.errorString());
#endif
}

bool openToWrite(QFile &file, const QString &path, QString *error)
{
    const QString refusal = writeRefusal(path);
    if (!refusal.isEmpty())
        return fail(error, refusal);
#ifdef Q_OS_UNIX
    // Emptied only once the descriptor is known to be a plain file of one name.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                          0666);
    return adopt(file, fd, QIODevice::WriteOnly, path, true, error);
#else
    file.setFileName(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) || fail(error, path + u": "_s + file.errorString());
#endif
}

bool replace(const QString &path, const QByteArray &bytes, bool sync, QString *error)
{
    const QString refusal = writeRefusal(path);
    if (!refusal.isEmpty())
        return fail(error, refusal);
    const QFileInfo target(path);
    QFile part(u"%1/.%2.%3.part"_s.arg(target.path(), target.fileName(),
                                      QString::number(QRandomGenerator::global()->generate(), 16)));
    // Created only when absent: never someone else's file or link.
    if (!part.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(error, path + u": "_s + part.errorString());
    bool ok = part.write(bytes) == bytes.size() && part.flush();
#ifdef Q_OS_UNIX
    ok = ok && (!sync || ::fsync(part.handle()) == 0);
#else
    Q_UNUSED(sync);
#endif
    QString reason = path + u": "_s + part.errorString();
    part.close();
    ok = ok && part.error() == QFileDevice::NoError;
    if (ok) {
#ifdef Q_OS_UNIX
        // rename() replaces a link in the way, it never writes where it points.
        if (::rename(QFile::encodeName(part.fileName()).constData(), QFile::encodeName(path).constData()) == 0)
            return true;
        reason = systemError(path);
#else
        if ((QFile::remove(path) || !target.exists()) && part.rename(path))
            return true;
        reason = path + u": "_s + part.errorString();
#endif
    }
    part.remove();
    return fail(error, reason);
}

} // namespace PlainFile
