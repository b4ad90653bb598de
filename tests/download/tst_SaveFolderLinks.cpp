// Someone else may write to a save folder too (a shared or synced folder):
// a link planted where a file of ours goes is refused, never written
// through, and a pipe there never blocks us.
#include "download/PictureFile.h"
#include "download/ProductFiles.h"
#include "support/TestMain.h"

#include <QTemporaryDir>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

ProductData OneSku()
{
    ProductData product;
    product.title = u"杯子"_s;
    ProductSku sku;
    sku.names = QStringList{u"红"_s};
    product.skus << sku;
    return product;
}

} // namespace

class SaveFolderLinksTest : public QObject
{
    Q_OBJECT
private slots:
    void dataFilesAreNeverWrittenThroughALink()
    {
        QTemporaryDir item, outside;
        const QString victim = outside.filePath(u"victim"_s);
        WriteFile(victim, "outside");
        for (const QString &name : {ProductFiles::InfoFile, ProductFiles::SkuFile}) {
            QDir(item.path()).removeRecursively();
            QDir().mkpath(item.path());
            if (name == ProductFiles::SkuFile)
                WriteFile(item.filePath(ProductFiles::InfoFile), "{}");
            QVERIFY(QFile::link(victim, item.filePath(name)));
            QString error;
            QVERIFY(!ProductFiles::write(item.path(), OneSku(), &error));
            QVERIFY2(error.contains(item.filePath(name)), qPrintable(error));
            QCOMPARE(FileBytes(victim), "outside");
            QVERIFY(QFileInfo(item.filePath(name)).isSymLink());
        }
        // A hard link is a name of the outside file too; it is left alone.
        QDir(item.path()).removeRecursively();
        QDir().mkpath(item.path());
        QVERIFY(::link(QFile::encodeName(victim), QFile::encodeName(item.filePath(ProductFiles::InfoFile))) == 0);
        QVERIFY(!ProductFiles::setVideo(item.path(), u"v.mp4"_s));
        QVERIFY(!ProductFiles::write(item.path(), OneSku()));
        QCOMPARE(FileBytes(victim), "outside");
        // An item folder that is a link leads outside.
        const QString linked = item.filePath(u"linked"_s);
        QVERIFY(QFile::link(outside.path(), linked));
        QVERIFY(!ProductFiles::write(linked, OneSku()));
        QCOMPARE(QDir(outside.path()).entryList(QDir::Files), QStringList{u"victim"_s});
        // A pipe in place of the data file is not read (it would wait for a writer).
        QDir(item.path()).removeRecursively();
        QDir().mkpath(item.path());
        QVERIFY(::mkfifo(QFile::encodeName(item.filePath(ProductFiles::InfoFile)), 0600) == 0);
        QVERIFY(!ProductFiles::setVideo(item.path(), u"v.mp4"_s));
    }

    void picturesAreNeverWrittenThroughALink()
    {
        QTemporaryDir item, outside;
        const QString victim = outside.filePath(u"victim.jpg"_s);
        WriteFile(victim, "outside");
        QVERIFY(QFile::link(victim, item.filePath(u"1.jpg"_s)));
        PictureFile picture(item.filePath(u"1.jpg"_s));
        QVERIFY(picture.open() && picture.write("picture"));
        QVERIFY(!picture.commit());
        QVERIFY2(picture.errorString().contains(item.filePath(u"1.jpg"_s)), qPrintable(picture.errorString()));
        QCOMPARE(FileBytes(victim), "outside");
        QCOMPARE(QDir(item.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{u"1.jpg"_s});
        // A picture folder replaced by a link to elsewhere takes nothing, not even a .part.
        QVERIFY(QFile::link(outside.path(), item.filePath(u"主图"_s)));
        PictureFile inLinked(item.filePath(u"主图/1.jpg"_s));
        QVERIFY(!inLinked.open());
        QCOMPARE(QDir(outside.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"victim.jpg"_s});
    }
};

PICTORRA_TEST_MAIN(SaveFolderLinksTest)
#include "tst_SaveFolderLinks.moc"
