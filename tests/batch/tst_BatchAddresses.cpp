#include "batch/BatchAddressStream.h"
#include "batch/BatchAddresses.h"
#include "support/TestMain.h"

#include <QStringEncoder>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

class BatchAddressesTest : public QObject
{
    Q_OBJECT
private slots:
    void pastedTextGivesEachItemOnce()
    {
        const QString pasted = uR"(
【1688】 爆款保温杯 https://detail.1688.com/offer/647941709416.html?spm=a26352.b28411319&tracelog=share 点击链接直接打开

  https://detail.1688.com/offer/647941709416.html
看看这个：https://m.1688.com/offer/889272226600.html?sk=consign，复制到浏览器
http://detail.m.1688.com/page/index.html?offerId=41537815714&spm=x
两个一起 detail.1688.com/offer/1007511748868.html 和 https://m.1688.com/offer/889272226600.html
   http://127.0.0.1:8080/offer/1.html   
http://127.0.0.1:8080/offer/1.html
HTTP://127.0.0.1:8080/offer/./1.html#top
http://shop.test:80/a/../offer/9.html
see http://127.0.0.1:8080/offer/2.html here
ftp://example.com/offer/3.html
javascript:alert(1)
)"_s;
        const QStringList expected{
            u"https://detail.1688.com/offer/647941709416.html"_s,
            u"https://detail.1688.com/offer/889272226600.html"_s,
            u"https://detail.1688.com/offer/41537815714.html"_s,
            u"https://detail.1688.com/offer/1007511748868.html"_s,
            u"http://127.0.0.1:8080/offer/1.html"_s,
            u"http://shop.test/offer/9.html"_s,
        };
        QCOMPARE(BatchAddresses::read(pasted), expected);
        QVERIFY(BatchAddresses::read(u"\n \r\n\t\n"_s).isEmpty());

        // What went is said: the lines without an address, and the repeats.
        const BatchAddresses::Reading reading = BatchAddresses::readWithReport(pasted);
        QCOMPARE(reading.addresses, expected);
        QCOMPARE(reading.ignored, (QStringList{u"see http://127.0.0.1:8080/offer/2.html here"_s,
                                               u"ftp://example.com/offer/3.html"_s, u"javascript:alert(1)"_s}));
        QCOMPARE(reading.merged, 4);
        QCOMPARE(reading.dropped(), u"忽略3行（不是宝贝地址）：see http://127.0.0.1:808…、"
                                    u"ftp://example.com/offer/…、javascript:alert(1), 合并4个重复"_s);
        QCOMPARE(BatchAddresses::readWithReport(expected.join(u'\n')).dropped(), QString());
    }

    void listFilesInUtf8AndGbk()
    {
        QTemporaryDir dir;
        const QString text = u"宝贝一 https://detail.1688.com/offer/123456.html\r\n宝贝二 https://m.1688.com/offer/654321.html\r\n"_s;
        const QStringList expected{u"https://detail.1688.com/offer/123456.html"_s,
                                   u"https://detail.1688.com/offer/654321.html"_s};
        QStringEncoder gbk("GBK");
        QVERIFY(gbk.isValid());
        const QByteArray gbkBytes = gbk.encode(text);
        QVERIFY(!gbk.hasError());
        const QList<QByteArray> files{"\xEF\xBB\xBF" + text.toUtf8(), gbkBytes};
        for (const QByteArray &bytes : files) {
            const QString path = dir.filePath(u"list.txt"_s);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(bytes);
            file.close();
            QCOMPARE(BatchAddresses::readFile(path), expected);
        }
        QCOMPARE(BatchAddresses::decode(gbkBytes), text);
        QCOMPARE(BatchAddresses::decode("\xEF\xBB\xBF" + text.toUtf8()), text);

        QString error;
        QVERIFY(BatchAddresses::readFile(dir.filePath(u"missing.txt"_s), &error).isEmpty());
        QVERIFY(!error.isEmpty());
    }

    // A list from a pipe is handed on line by line while the writer is still
    // there; read whole, the same pipe is refused instead of waited on.
    void aPipeIsReadAsItIsWritten()
    {
        QTemporaryDir dir;
        const QString pipe = dir.filePath(u"list"_s);
        QVERIFY(::mkfifo(QFile::encodeName(pipe), 0600) == 0);
        QVERIFY(BatchAddressStream::isStream(pipe) && BatchAddressStream::isStream(u"-"_s));
        QVERIFY(!BatchAddressStream::isStream(dir.path()));
        QString error;
        QVERIFY(BatchAddresses::readFile(pipe, &error).isEmpty());
        QVERIFY2(error.contains(pipe), qPrintable(error));

        BatchAddressStream stream;
        QSignalSpy arrived(&stream, &BatchAddressStream::arrived);
        QSignalSpy ended(&stream, &BatchAddressStream::ended);
        QVERIFY(stream.open(pipe));
        QTest::qWait(50); // no writer yet: nothing, and no end
        QVERIFY(ended.isEmpty());
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(writer >= 0);
        const QByteArray first = "https://detail.1688.com/offer/123456.html\nhttps://detail.1688.com/offer/65";
        QCOMPARE(::write(writer, first.constData(), first.size()), first.size());
        QTRY_COMPARE(arrived.size(), 1);
        QCOMPARE(arrived.at(0).at(0).toStringList(), QStringList{u"https://detail.1688.com/offer/123456.html"_s});
        QVERIFY(!stream.atEnd());
        QCOMPARE(::write(writer, "4321.html", 9), 9);
        ::close(writer);
        QTRY_COMPARE(ended.size(), 1);
        QCOMPARE(arrived.size(), 2);
        QCOMPARE(arrived.at(1).at(0).toStringList(), QStringList{u"https://detail.1688.com/offer/654321.html"_s});
    }
};

PICTORRA_TEST_MAIN(BatchAddressesTest)
#include "tst_BatchAddresses.moc"
