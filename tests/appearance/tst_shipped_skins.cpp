#include "appearance/SkinManager.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {
QStringList skinFiles(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*.qss")}, QDir::Files, QDir::Name);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}

// The skins we ship must all work: a broken one would fall back to the default look.
class TestShippedSkins : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qApp->setStyleSheet(QString()); }

    void everySkinParses()
    {
        const QString folder = QStringLiteral(PICTORRA_SKINS_SOURCE);
        const QStringList names = skinFiles(folder);
        QVERIFY2(names.size() >= 5, qPrintable(names.join(QLatin1Char(' '))));
        const SkinManager skins(QFileInfo(folder).path());
        for (const QString &name : names)
            QVERIFY2(skins.apply(name), qPrintable(name));
    }

    void picturesNamedBySkinsExist()
    {
        static const QRegularExpression url(QStringLiteral("url\\(\\s*\"?([^)\"]+)\"?\\s*\\)"));
        const QString folder = QStringLiteral(PICTORRA_SKINS_SOURCE);
        for (const QString &name : skinFiles(folder)) {
            const QString sheet = QString::fromUtf8(bytesOf(folder + QLatin1Char('/') + name));
            for (const QRegularExpressionMatch &match : url.globalMatch(sheet)) {
                const QString path = match.captured(1).trimmed();
                QVERIFY2(path.startsWith(QLatin1String(":/")) && QFile::exists(path),
                         qPrintable(name + QLatin1String(": ") + path));
            }
        }
    }

    void buildPutsTheSkinsBesideTheProgram()
    {
        const QString source = QStringLiteral(PICTORRA_SKINS_SOURCE);
        const QString built = QStringLiteral(PICTORRA_SKINS_BUILT);
        QCOMPARE(skinFiles(built), skinFiles(source));
        for (const QString &name : skinFiles(source))
            QVERIFY2(bytesOf(built + QLatin1Char('/') + name) == bytesOf(source + QLatin1Char('/') + name),
                     qPrintable(name));
    }
};

PICTORRA_TEST_MAIN(TestShippedSkins)
#include "tst_shipped_skins.moc"
