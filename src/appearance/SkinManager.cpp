#include "appearance/SkinManager.h"

#include "appearance/SkinSettings.h"
#include "appearance/StyleSheetProbe.h"
#include "platform/PlainFile.h"
#include "platform/ProgramFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QWidget>

#include <algorithm>
#include <optional>

namespace {
// Far above any real style sheet; keeps a stray large file from stalling start-up.
constexpr qint64 MaxSheetBytes = 2 * 1024 * 1024;

// Qt opens the pictures a sheet names when it first paints with them: one
// that is a pipe would block that paint, and the window with it.
bool picturesAreFiles(const QString &sheet)
{
    static const QRegularExpression url(QStringLiteral(R"(url\(\s*(['"]?)(.*?)\1\s*\))"));
    for (auto it = url.globalMatch(sheet); it.hasNext();) {
        const QString name = it.next().captured(2);
        if (!name.startsWith(u':') && !PlainFile::readable(name))
            return false;
    }
    return true;
}

// The text of a style sheet, or nullopt for a file that cannot be one
// (no regular file, unreadable, too large, not UTF-8 text, naming a picture
// that is no file).
std::optional<QString> readSheet(const QString &path)
{
    QFile file;
    if (!PlainFile::readable(path) || !PlainFile::openToRead(file, path) || file.size() > MaxSheetBytes)
        return std::nullopt;
    const QByteArray bytes = file.read(MaxSheetBytes + 1);
    if (bytes.size() > MaxSheetBytes || bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError() || !picturesAreFiles(text))
        return std::nullopt;
    return text;
}
}

const QString SkinManager::FolderName = QStringLiteral("皮肤");

SkinManager::SkinManager(const QString &programFolder, const QString &shippedFolder)
    : m_folder(ProgramFolder::join(programFolder, FolderName))
{
    if (!shippedFolder.isEmpty()) {
        const QString shipped = ProgramFolder::join(shippedFolder, FolderName);
        if (QFileInfo(shipped).absoluteFilePath() != QFileInfo(m_folder).absoluteFilePath())
            m_shipped = shipped;
    }
}

QStringList SkinManager::names() const
{
    QStringList names = QDir(m_folder).entryList(QDir::Files);
    if (!m_shipped.isEmpty())
        names += QDir(m_shipped).entryList(QDir::Files);
    names.removeDuplicates();
    // As the folder list sorted them before: by name, ignoring case.
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString SkinManager::pathOf(const QString &fileName) const
{
    const QString own = ProgramFolder::join(m_folder, fileName);
    if (m_shipped.isEmpty() || QFileInfo(own).isFile())
        return own;
    return ProgramFolder::join(m_shipped, fileName);
}

bool SkinManager::apply(const QString &fileName) const
{
    return applyFile(pathOf(fileName));
}

bool SkinManager::applyFile(const QString &path) const
{
    const std::optional<QString> sheet = readSheet(path);
    if (!sheet) {
        useDefaultLook();
        return false;
    }
    bool parsed = false;
    {
        StyleSheetProbe probe;
        qApp->setStyleSheet(*sheet);
        // Qt parses the sheet when a widget is polished; with no window open yet
        // that would happen later, outside the probe.
        QWidget scratch;
        scratch.ensurePolished();
        parsed = !probe.parseFailed();
    }
    if (!parsed)
        useDefaultLook();
    return parsed;
}

bool SkinManager::applyRemembered(const SkinSettings &settings) const
{
    const QString name = settings.skin();
    if (name.isEmpty())
        return false;
    const QString path = pathOf(name);
    if (!QFileInfo(path).isFile())
        return false;
    return applyFile(path);
}

void SkinManager::useDefaultLook()
{
    qApp->setStyleSheet(QString());
}
