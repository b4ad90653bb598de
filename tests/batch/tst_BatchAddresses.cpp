#include "batch/BatchAddresses.h"
#include "support/TestMain.h"

#include <QStringEncoder>
#include <QTemporaryDir>

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
};

PICTORRA_TEST_MAIN(BatchAddressesTest)
#include "tst_BatchAddresses.moc"
