#include "appearance/SkinSettings.h"

#include "platform/PlainFile.h"
#include "platform/ProgramFolder.h"

#include <QFileInfo>
#include <QSettings>

namespace {
const QString Section = QStringLiteral("config");
const QString SkinKey = QStringLiteral("skin");
const QString SkinIdKey = QStringLiteral("skinid");

// A hand-edited "a,b" comes back as a list; the user meant one name.
QString asText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

// Far above any real config.ini; a larger one is not ours and is not parsed.
constexpr qint64 MaxConfigBytes = 1024 * 1024;

bool canWrite(const QString &file)
{
    const QFileInfo info(file);
    if (info.exists())
        return info.isFile() && info.isWritable();
    const QFileInfo folder(info.absolutePath());
    return !folder.exists() || (folder.isDir() && folder.isWritable());
}
}

SkinSettings::SkinSettings(const QString &programFolder)
    : m_file(ProgramFolder::join(programFolder, QStringLiteral("config.ini")))
{
}

QString SkinSettings::readValue(const QString &key) const
{
    // A pipe in its place would block the start for good.
    if (!PlainFile::readable(m_file) || QFileInfo(m_file).size() > MaxConfigBytes)
        return {};
    QSettings ini(m_file, QSettings::IniFormat);
    return asText(ini.value(Section + QLatin1Char('/') + key));
}

QString SkinSettings::skin() const
{
    const QString name = readValue(SkinKey).trimmed();
    // Only a file of the skins folder is a skin: a path ("../x", "/etc/x")
    // would have any file read at every start.
    const bool plainName = !name.contains(u'/') && !name.contains(u'\\') && !name.contains(QChar(u'\0'))
                           && name != QLatin1String(".") && name != QLatin1String("..");
    return plainName ? name : QString();
}

std::optional<int> SkinSettings::skinId() const
{
    bool ok = false;
    const int id = readValue(SkinIdKey).trimmed().toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return id;
}

SkinSettings::WriteResult SkinSettings::store(const QString &skinFile, int skinId) const
{
    if (!canWrite(m_file))
        return {false, storeFailedMessage()};
    QSettings ini(m_file, QSettings::IniFormat);
    ini.beginGroup(Section);
    ini.setValue(SkinKey, skinFile);
    ini.setValue(SkinIdKey, QString::number(skinId));
    ini.endGroup();
    ini.sync();
    // FormatError only says the old file was damaged; the new values are written.
    if (ini.status() == QSettings::AccessError)
        return {false, storeFailedMessage()};
    return {};
}

QString SkinSettings::storeFailedMessage()
{
    return QStringLiteral("皮肤选择无法保存：config.ini 不可写入。");
}
