#include "download/FolderNaming.h"
#include "download/SaveLayout.h"
#include "picking/PickResult.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class SaveLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void mkdiruserTakesTheFirstFreeName()
    {
        QTemporaryDir root;
        const QString path = root.path() + QStringLiteral("/商品");
        QFile(path + QStringLiteral("1")).open(QIODevice::WriteOnly); // a file takes the name too
        QCOMPARE(mkdiruser(path, 0, int(path.size())), path);
        QCOMPARE(mkdiruser(path, 0, int(path.size())), path + QStringLiteral("2"));
        QCOMPARE(mkdiruser(path, 0, int(path.size())), path + QStringLiteral("3"));
        QVERIFY(QFileInfo(path + QStringLiteral("3")).isDir());
        // An empty item name asks for the chosen folder itself, which exists.
        const QString bare = root.path() + u'/';
        QCOMPARE(mkdiruser(bare, 0, int(bare.size())), bare + QStringLiteral("1"));
    }

    void mkdiruserReportsWhatItCannotCreate()
    {
        QTemporaryDir root;
        const QString file = root.path() + QStringLiteral("/plain");
        QFile(file).open(QIODevice::WriteOnly);
        for (const QString &path : {file + QStringLiteral("/item"), root.path() + QStringLiteral("/gone/item")}) {
            QString error;
            QVERIFY(mkdiruser(path, 0, int(path.size()), &error).isEmpty());
            QVERIFY2(error.contains(path), qPrintable(error));
        }
        QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{u"plain"_s});
    }

    // Titles a page chooses: too long for the file system, hidden, or holding a
    // NUL that the system would cut the name at.
    void hostileItemNames()
    {
        QTemporaryDir root;
        const QString folder = root.path() + u'/';
        // 255 bytes: fits once, but not with a counter after it.
        const QString longTitle = QString(84, QChar(0x8d27)) + u"abc"_s;
        const QString made = mkdiruser(folder + longTitle, 0, int(folder.size() + longTitle.size()));
        QCOMPARE(made, folder + QString(66, QChar(0x8d27)));  // 198 bytes: whole characters only
        QCOMPARE(mkdiruser(folder + longTitle, 0, int(folder.size() + longTitle.size())), made + u"1"_s);
        const QString over = QString(66, QChar(0x8d27)) + u"ab"_s + u"+"_s;
        QCOMPARE(ItemName(u"短标题"_s), u"短标题"_s);
        QCOMPARE(ItemName(over), over.left(68));
        QCOMPARE(ItemName(u"\U0001F600"_s.repeated(60)).size(), 100); // no surrogate pair split

        for (const QString &dotted : {u".x"_s, u".."_s, u"."_s}) {
            const QString path = folder + dotted;
            QVERIFY(!QFileInfo(mkdiruser(path, 0, int(path.size()))).fileName().startsWith(u'.'));
        }

        QElapsedTimer timer;
        timer.start();
        QDir(root.path()).mkdir(u"nul"_s);
        const QString nul = folder + u"nul"_s + QChar(0) + u"after"_s;
        QString error;
        QVERIFY(mkdiruser(nul, 0, int(nul.size()), &error).isEmpty());
        QVERIFY(!error.isEmpty());
        QVERIFY(timer.elapsed() < 1000);
    }

    void percentRoundsHalfToEven_data()
    {
        QTest::addColumn<int>("done");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("percent");
        const int rows[][3] = {{1, 8, 12}, {3, 8, 38}, {5, 8, 62}, {7, 8, 88}, {1, 2, 50}, {3, 12, 25},
                               {1, 3, 33}, {2, 3, 67}, {1, 200, 0}, {3, 200, 2}, {5, 200, 2}, {8, 8, 100}};
        for (const auto &row : rows)
            QTest::addRow("%d/%d", row[0], row[1]) << row[0] << row[1] << row[2];
    }
    void percentRoundsHalfToEven()
    {
        QFETCH(int, done);
        QFETCH(int, total);
        QFETCH(int, percent);
        QCOMPARE(ProgressPercent(done, total), percent);
    }

    void linesAreExact()
    {
        QCOMPARE(ProgressLine(3, 12), u"消息提示:下载进度,3/12 25%"_s);
        const QString done = CompletionLine(u"/p/ABC"_s, 0);
        QCOMPARE(done, u"消息提示:下载完成,保存至->/p/ABC->双击打开"_s);
        const QString failed = CompletionLine(u"/p/ABC"_s, 2);
        QCOMPARE(failed, u"消息提示:下载完成,保存至->/p/ABC->双击打开（2张下载失败）"_s);
        QCOMPARE(FolderFromLine(done), u"/p/ABC"_s);
        QCOMPARE(FolderFromLine(failed), u"/p/ABC"_s);
        QCOMPARE(FolderFromLine(FolderErrorLine(u"/p/x"_s)), u"/p/x"_s);
        QCOMPARE(FolderFromLine(ProgressLine(1, 2)), QString());
    }

    void pictureNamesStayInTheirFolder()
    {
        QCOMPARE(PictureFileName(u"/p/ABC/主图"_s, u"主图"_s, 10, u"http://h/x/1.jpg"_s), u"/p/ABC/主图/主图10.jpg"_s);
        const QString hostile[] = {u"http://h/a/../"_s, u"http://h/..\\.."_s, u"http://h/a/.."_s,
                                   u"http://h/x"_s + QChar(0) + u"/.."_s, u"http://h/C:/."_s};
        for (const QString &url : hostile) {
            const QString name = PictureFileName(u"/p/描述图"_s, u"描述图"_s, 1, url);
            const QString tail = name.mid(QStringLiteral("/p/描述图/描述图1").size());
            QCOMPARE(tail.size(), 4);
            for (QChar c : tail)
                QVERIFY2(c != u'/' && c != u'\\' && c != u':' && !c.isNull(), qPrintable(name));
        }
    }

    void eachKindNamesItsFiles()
    {
        // Kinds are looked up by their place and by the folder a failure names.
        for (const MediaKind &kind : MediaKinds::all()) {
            QCOMPARE(MediaKinds::of(kind.id).folder, kind.folder);
            QCOMPARE(MediaKinds::byFolder(kind.folder), &kind);
        }
        QCOMPARE(MediaKinds::byFolder(u"其他"_s), nullptr);
        const MediaKind &sku = MediaKinds::of(MediaKind::Sku);
        QCOMPARE(MediaFileName(u"/p/SKU图"_s, sku, 2, u"http://h/s.png"_s), u"/p/SKU图/SKU图2.png"_s);
        // A video is an MP4 whatever its address ends in.
        const MediaKind &video = MediaKinds::of(MediaKind::Video);
        QCOMPARE(MediaFileName(u"/p/视频"_s, video, 1, u"http://h/v.flv?x=1"_s), u"/p/视频/视频1.mp4"_s);
    }

    // The item folder is named after the product's own title, else the
    // document title without the site's name; the setting keeps the whole title.
    void itemFoldersAreNamedAfterTheProduct()
    {
        PickResult result;
        result.title = QStringLiteral("纸扇装饰阿里巴巴");  // as the pick cleaned it
        QCOMPARE(FolderNaming::itemTitle(result, FolderNaming::Rule::ProductTitle), QStringLiteral("纸扇装饰"));
        result.product.title = QStringLiteral("新款 纸扇/装饰");
        QCOMPARE(FolderNaming::itemTitle(result, FolderNaming::Rule::ProductTitle), QStringLiteral("新款纸扇装饰"));
        QCOMPARE(FolderNaming::productTitle(result), QStringLiteral("新款纸扇装饰"));
        QCOMPARE(FolderNaming::itemTitle(result, FolderNaming::Rule::DocumentTitle), QStringLiteral("纸扇装饰阿里巴巴"));
        for (const QString &title : {QStringLiteral("相册 - 阿里巴巴"), QStringLiteral("相册_阿里巴巴"),
                                     QStringLiteral("相册|阿里巴巴 1688.com"), QStringLiteral("相册阿里巴巴")})
            QCOMPARE(FolderNaming::withoutSiteName(title), QStringLiteral("相册"));
        QCOMPARE(FolderNaming::withoutSiteName(QStringLiteral("阿里巴巴")), QStringLiteral("阿里巴巴"));
        QCOMPARE(FolderNaming::withoutSiteName(QStringLiteral("阿里巴巴同款杯")), QStringLiteral("阿里巴巴同款杯"));

        QTemporaryDir dir;
        const QString config = dir.filePath(QStringLiteral("config.ini"));
        QVERIFY(!FolderNaming::wholeTitleStored(config));
        QVERIFY(FolderNaming::storeWholeTitle(config, true));
        QCOMPARE(FolderNaming::rule(), FolderNaming::Rule::DocumentTitle);
        FolderNaming::setRule(FolderNaming::Rule::ProductTitle);
        FolderNaming::applyStored(config);
        QCOMPARE(FolderNaming::itemTitle(result), QStringLiteral("纸扇装饰阿里巴巴"));
        QVERIFY(FolderNaming::storeWholeTitle(config, false));
        QCOMPARE(FolderNaming::itemTitle(result), QStringLiteral("新款纸扇装饰"));
    }
};

PICTORRA_TEST_MAIN(SaveLayoutTest)
#include "tst_SaveLayout.moc"
