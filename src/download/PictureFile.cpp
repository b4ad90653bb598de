#include "download/PictureFile.h"

#include "platform/PlainFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path fsPath(const QString &name)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(name).toStdString());
#endif
}

// Created only when absent, with the permissions a new file gets here.
constexpr QIODevice::OpenMode PartMode = QIODevice::WriteOnly | QIODevice::NewOnly;
constexpr QFileDevice::Permissions NewFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;

} // namespace

PictureFile::PictureFile(const QString &fileName) : m_fileName(fileName)
{
}

PictureFile::~PictureFile()
{
    cancel();
}

bool PictureFile::open()
{
    m_error.clear();
    const QFileInfo target(m_fileName);
    // A folder replaced by a link would take the picture wherever it points.
    if (QFileInfo(target.path()).isSymLink())
        return fail(QStringLiteral("%1 是一个链接, 不会通过它写入").arg(target.path()));
    for (int attempt = 0; attempt < 8; ++attempt) {
        const QString suffix = QString::number(QRandomGenerator::global()->generate(), 16);
        m_part.setFileName(QStringLiteral("%1/.%2.%3.part").arg(target.path(), target.fileName(), suffix));
        if (m_part.open(PartMode, NewFilePermissions))
            return true;
        if (m_part.error() != QFileDevice::OpenError || !QFile::exists(m_part.fileName()))
            break;
    }
    // The name may be another's file: forget it before failing removes it.
    const QString error = m_part.errorString();
    m_part.setFileName({});
    return fail(error);
}

bool PictureFile::write(const QByteArray &data)
{
    if (m_part.isOpen() && m_part.write(data) == data.size())
        return true;
    return fail(m_part.isOpen() ? m_part.errorString() : QStringLiteral("not open"));
}

bool PictureFile::flush()
{
    return m_part.isOpen() && m_part.flush() ? true : fail(m_part.isOpen() ? m_part.errorString() : QStringLiteral("not open"));
}

bool PictureFile::commit()
{
    if (!m_part.isOpen())
        return fail(QStringLiteral("not open"));
    // A short write on a full disk shows only here, when the buffer goes out.
    if (!m_part.flush())
        return fail(m_part.errorString());
    m_part.close();
    if (m_part.error() != QFileDevice::NoError)
        return fail(m_part.errorString());
    // rename() would only replace a link, but one planted there is not ours to drop.
    if (const QString refusal = PlainFile::writeRefusal(m_fileName); !refusal.isEmpty())
        return fail(refusal);
    std::error_code error;
    std::filesystem::rename(fsPath(m_part.fileName()), fsPath(m_fileName), error);
    if (error)
        return fail(QString::fromStdString(error.message()));
    m_part.setFileName({});
    return true;
}

void PictureFile::cancel()
{
    if (m_part.fileName().isEmpty())
        return;
    m_part.close();
    m_part.remove();
    m_part.setFileName({});
}

bool PictureFile::fail(const QString &error)
{
    if (m_error.isEmpty())
        m_error = error;
    cancel();
    return false;
}

int PictureFile::removeStaleParts(const QString &folder, int maxAgeSeconds)
{
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-maxAgeSeconds);
    const QDir dir(folder);
    int removed = 0;
    const auto parts = dir.entryInfoList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo &part : parts)
        if (!part.isSymLink() && (maxAgeSeconds <= 0 || part.lastModified().toUTC() < before)
            && QFile::remove(part.filePath()))
            ++removed;
    return removed;
}
