#include "favourites/FavouriteOpening.h"
#include "favourites/FavouriteStore.h"
#include "favourites/LinkFile.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

class tst_favourite_files : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString folder() const { return m_dir.filePath(QStringLiteral("likepage")); }

private slots:
    void init()
    {
        QDir(folder()).removeRecursively();
        QVERIFY(QDir().mkpath(folder()));
    }

    void reads_file_contents_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("formatError");
        QTest::addColumn<QString>("address");
        const QString none;
        QTest::newRow("crlf") << QByteArray("[Fai.link]\r\nhttp://a.cn/x\r\n") << false << u"http://a.cn/x"_s;
        QTest::newRow("later lines ignored") << QByteArray("[Fai.link]\r\nhttp://a\r\nhttp://b\r\n") << false << u"http://a"_s;
        QTest::newRow("no final line end") << QByteArray("[Fai.link]\r\nhttp://a") << false << u"http://a"_s;
        QTest::newRow("lone LF") << QByteArray("[Fai.link]\nhttp://a\n") << false << u"http://a"_s;
        QTest::newRow("utf-8") << QByteArray("[Fai.link]\r\nhttp://a.cn/\xe5\xa5\xb3\xe8\xa3\x85\r\n") << false << u"http://a.cn/女装"_s;
        QTest::newRow("gbk") << QByteArray("[Fai.link]\r\nhttp://a.cn/?q=\xc5\xae\xd7\xb0\xc1\xac\xd2\xc2\xc8\xb9\r\n")
                             << false << u"http://a.cn/?q=女装连衣裙"_s;
        QTest::newRow("spaces kept") << QByteArray("[Fai.link]\r\n http://a \r\n") << false << u" http://a "_s;
        QTest::newRow("marker in other case") << QByteArray("[fai.link]\r\nhttp://a\r\n") << true << none;
        QTest::newRow("marker with trailing space") << QByteArray("[Fai.link] \r\nhttp://a\r\n") << true << none;
        QTest::newRow("empty file") << QByteArray() << true << none;
        QTest::newRow("marker only") << QByteArray("[Fai.link]") << true << none;
        QTest::newRow("marker line only") << QByteArray("[Fai.link]\r\n") << true << none;
        QTest::newRow("empty address") << QByteArray("[Fai.link]\r\n\r\nhttp://a\r\n") << true << none;
    }
    void reads_file_contents()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, formatError);
        QFETCH(QString, address);
        const QString path = folder() + u"/f.link"_s;
        writeBytes(path, bytes);
        const FavouriteOpening opening = FavouriteOpening::decide(path, false, u"about:blank"_s);
        if (formatError) {
            QCOMPARE(opening.action, FavouriteOpening::Action::ShowFormatError);
            QCOMPARE(opening.message, u"文件格式错误。"_s);
        } else {
            QCOMPARE(opening.action, FavouriteOpening::Action::Load);
            QCOMPARE(opening.address, address);
        }
        // The reader let go of the file: it can be removed and replaced at once.
        QVERIFY(QFile::remove(path));
    }

    // Anything can drop a file into the folder: only http(s) is loaded, the
    // rest is refused with the address shown (cut, controls made visible).
    void opens_only_web_addresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("loads");
        QTest::newRow("https") << u"HTTPS://a.cn/x"_s << true;
        QTest::newRow("no scheme") << u"detail.1688.com/offer/1.html"_s << true;
        QTest::newRow("file") << u"file:///etc/passwd"_s << false;
        QTest::newRow("javascript") << u" JavaScript:alert(1)"_s << false;
        QTest::newRow("data") << u"data:text/html,<script>x</script>"_s << false;
        QTest::newRow("local path") << u"/etc/passwd"_s << false;
        QTest::newRow("long data") << u"data:text/html,\x1b"_s + QString(100000, u'a') << false;
    }
    void opens_only_web_addresses()
    {
        QFETCH(QString, address);
        QFETCH(bool, loads);
        const QString path = folder() + u"/f.link"_s;
        writeBytes(path, LinkFile::content(address));
        const FavouriteOpening opening = FavouriteOpening::decide(path, false, u"about:blank"_s);
        QCOMPARE(opening.action, loads ? FavouriteOpening::Action::Load : FavouriteOpening::Action::Refuse);
        if (loads)
            return;
        QVERIFY(opening.address.isEmpty());
        QVERIFY2(opening.message.startsWith(u"无法打开收藏：只能打开 http 或 https 网址。\n"_s), qPrintable(opening.message));
        QVERIFY(opening.message.contains(address.left(10).replace(u'\x1b', QChar::ReplacementCharacter)));
        QVERIFY(opening.message.size() < 300);
        // A file that is no favourite is its own address: a local one, refused.
        writeBytes(folder() + u"/page.html"_s, "<p>x</p>");
        QCOMPARE(FavouriteOpening::decide(folder() + u"/page.html"_s, false, QString()).action, FavouriteOpening::Action::Refuse);
    }

    void paths_that_are_not_favourites()
    {
        QCOMPARE(LinkFile::read(QString()).kind, LinkReading::Kind::Nothing);
        QCOMPARE(LinkFile::read(folder() + u"/missing.link"_s).kind, LinkReading::Kind::Nothing);
        QCOMPARE(LinkFile::read(folder()).kind, LinkReading::Kind::Nothing);
        const QString page = folder() + u"/page.html"_s;
        writeBytes(page, "<p>x</p>");
        const LinkReading plain = LinkFile::read(page);
        QCOMPARE(plain.kind, LinkReading::Kind::Address);
        QCOMPARE(plain.address, page);
        const QString upper = folder() + u"/主页.LINK"_s;
        writeBytes(upper, "[Fai.link]\r\nhttp://home\r\n");
        QCOMPARE(LinkFile::read(upper).address, u"http://home"_s);
    }

    void chooses_the_page_data()
    {
        QTest::addColumn<QString>("addressBox");
        QTest::addColumn<bool>("flag");
        QTest::addColumn<bool>("newTab");
        QTest::newRow("about:blank") << u"about:blank"_s << false << false;
        QTest::newRow("ABOUT:BLANK") << u"ABOUT:BLANK"_s << false << false;
        QTest::newRow("About:Blank") << u"About:Blank"_s << false << false;
        QTest::newRow("other address") << u"https://www.1688.com/"_s << false << true;
        QTest::newRow("empty box") << QString() << false << true;
        QTest::newRow("about:blank with space") << u"about:blank "_s << false << true;
        QTest::newRow("flag keeps the page") << u"https://a/"_s << true << false;
    }
    void chooses_the_page()
    {
        QFETCH(QString, addressBox);
        QFETCH(bool, flag);
        QFETCH(bool, newTab);
        const FavouriteStore store(folder());
        const auto path = store.save(u"t"_s, u"http://a/"_s);
        QVERIFY(path);
        const FavouriteOpening opening = FavouriteOpening::decide(*path, flag, addressBox);
        QCOMPARE(opening.action, FavouriteOpening::Action::Load);
        QCOMPARE(opening.address, u"http://a/"_s);
        QCOMPARE(opening.newTab, newTab);
        QCOMPARE(FavouriteOpening::decide(folder() + u"/none.link"_s, false, addressBox).action,
                 FavouriteOpening::Action::Nothing);
    }

    void saves_under_the_cleaned_caption_never_overwriting()
    {
        QVERIFY(QDir(folder()).removeRecursively());
        const FavouriteStore store(folder());
        const QString address = u"https://detail.1688.com/offer/1.html?a=中文&b= x"_s;
        QStringList saved;
        for (int i = 0; i < 3; ++i)
            saved << store.save(u"Pick:abc - x"_s, address).value_or(QString());
        QCOMPARE(saved, QStringList({folder() + u"/abcx.link"_s, folder() + u"/abcx#.link"_s,
                                     folder() + u"/abcx##.link"_s}));
        for (const QString &path : saved)
            QCOMPARE(readBytes(path), QByteArray("[Fai.link]\r\n") + address.toUtf8() + "\r\n");
    }

    // Captions that clean to something no file can be called still give a
    // listed favourite that opens.
    void saves_under_a_safe_name_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("empty") << QString() << u"收藏.link"_s;
        QTest::newRow("cleans to nothing") << u"Pick: - ..."_s << u"收藏.link"_s;
        QTest::newRow("dot") << u"."_s << u"收藏.link"_s;
        QTest::newRow("dot dot") << u".."_s << u"收藏.link"_s;
        QTest::newRow("leading dot") << u".bashrc"_s << u"bashrc.link"_s;
        QTest::newRow("NUL") << (u"a"_s + QChar(u'\0') + u"b/c"_s) << u"abc.link"_s;
        QTest::newRow("too long") << QString(120, QChar(u'衣')) << (QString(66, QChar(u'衣')) + u".link"_s);
    }
    void saves_under_a_safe_name()
    {
        QFETCH(QString, caption);
        QFETCH(QString, fileName);
        const FavouriteStore store(folder());
        const auto path = store.save(caption, u"http://a/"_s);
        QCOMPARE(path.value_or(QString()), folder() + u"/"_s + fileName);
        QCOMPARE(store.entries(), QStringList{fileName});
        QCOMPARE(LinkFile::read(*path).address, u"http://a/"_s);
    }

    void lists_files_sorted_without_hidden_ones()
    {
        for (const char *name : {"b.link", "A.link", ".hidden.link", "主页.LINK", "c"})
            writeBytes(folder() + u"/"_s + QString::fromUtf8(name), "x");
        QVERIFY(QDir(folder()).mkdir(u"sub"_s));
        QCOMPARE(FavouriteStore(folder()).entries(),
                 QStringList({u"A.link"_s, u"b.link"_s, u"c"_s, u"主页.LINK"_s}));
    }

    void finds_the_home_page_in_any_letter_case_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("found");
        QTest::newRow("none") << QStringList() << QString();
        QTest::newRow("upper") << QStringList{u"主页.LINK"_s} << u"主页.LINK"_s;
        QTest::newRow("lower") << QStringList{u"主页.link"_s} << u"主页.link"_s;
        QTest::newRow("mixed") << QStringList{u"主页.Link"_s} << u"主页.Link"_s;
        QTest::newRow("both") << QStringList{u"主页.link"_s, u"主页.LINK"_s} << u"主页.LINK"_s;
    }
    void finds_the_home_page_in_any_letter_case()
    {
        QFETCH(QStringList, present);
        QFETCH(QString, found);
        for (const QString &name : present)
            writeBytes(folder() + u"/"_s + name, "[Fai.link]\r\nhttp://" + name.toUtf8() + "\r\n");
        const FavouriteStore store(folder());
        const FavouriteOpening opening = FavouriteOpening::decide(store.homeFile(), false, u"x"_s);
        if (found.isEmpty()) {
            QCOMPARE(opening.action, FavouriteOpening::Action::Nothing);
        } else {
            QCOMPARE(store.homeFile(), folder() + u"/"_s + found);
            QCOMPARE(opening.address, u"http://"_s + found);
        }
    }

    void renames_to_a_free_name()
    {
        const FavouriteStore store(folder());
        writeBytes(folder() + u"/a.link"_s, "[Fai.link]\r\nhttp://a\r\n");
        writeBytes(folder() + u"/b.link"_s, "[Fai.link]\r\nhttp://b\r\n");
        QCOMPARE(store.rename(folder() + u"/a.link"_s, u"b.link"_s).value_or(QString()),
                 folder() + u"/b.link#"_s);
        QCOMPARE(store.entries(), QStringList({u"b.link"_s, u"b.link#"_s}));
        QCOMPARE(readBytes(folder() + u"/b.link#"_s), QByteArray("[Fai.link]\r\nhttp://a\r\n"));
        // The answer is the whole name: without ".link" the file is a plain address.
        QCOMPARE(store.rename(folder() + u"/b.link"_s, u"Pick: c"_s).value_or(QString()), folder() + u"/c"_s);
    }

    void rename_answers_that_rename_nothing_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("answer");
        QTest::newRow("cancelled") << true << QString();
        QTest::newRow("empty") << false << QString();
        QTest::newRow("cleans to nothing") << false << u" - ** "_s;
        QTest::newRow("dots only") << false << u".."_s;
        QTest::newRow("unchanged") << false << u"a.link"_s;
        QTest::newRow("unchanged once cleaned") << false << u" a.link"_s;
    }
    void rename_answers_that_rename_nothing()
    {
        QFETCH(bool, cancelled);
        QFETCH(QString, answer);
        const FavouriteStore store(folder());
        writeBytes(folder() + u"/a.link"_s, "[Fai.link]\r\nhttp://a\r\n");
        QVERIFY(!store.rename(folder() + u"/a.link"_s, cancelled ? std::nullopt : std::optional(answer)));
        QCOMPARE(store.entries(), QStringList{u"a.link"_s});
        QVERIFY(!store.rename(folder() + u"/gone.link"_s, u"x"_s));
    }

    void sets_the_home_page()
    {
        const FavouriteStore store(folder());
        writeBytes(folder() + u"/a.link"_s, "[Fai.link]\r\nhttp://a\r\n");
        writeBytes(folder() + u"/主页.LINK"_s, "[Fai.link]\r\nhttp://old\r\n");
        QVERIFY(store.setAsHome(folder() + u"/a.link"_s));
        QCOMPARE(store.entries(), QStringList({u"a.link"_s, u"主页.LINK"_s}));
        QCOMPARE(readBytes(folder() + u"/主页.LINK"_s), QByteArray("[Fai.link]\r\nhttp://a\r\n"));

        // A home page in another letter case is replaced too, not left beside it.
        QVERIFY(QFile::rename(folder() + u"/主页.LINK"_s, folder() + u"/主页.link"_s));
        writeBytes(folder() + u"/b.link"_s, "[Fai.link]\r\nhttp://b\r\n");
        QVERIFY(store.setAsHome(folder() + u"/b.link"_s));
        QCOMPARE(store.entries(), QStringList({u"a.link"_s, u"b.link"_s, u"主页.LINK"_s}));
        QCOMPARE(LinkFile::read(store.homeFile()).address, u"http://b"_s);
    }

    void keeps_the_home_page_when_there_is_nothing_to_copy()
    {
        const FavouriteStore store(folder());
        const QByteArray old("[Fai.link]\r\nhttp://old\r\n");
        writeBytes(folder() + u"/主页.link"_s, old);
        QVERIFY(!store.setAsHome(folder() + u"/gone.link"_s));
        QVERIFY(!store.setAsHome(QString()));
        QVERIFY(!store.setAsHome(folder() + u"/主页.link"_s));
        QCOMPARE(store.entries(), QStringList{u"主页.link"_s});
        QCOMPARE(readBytes(folder() + u"/主页.link"_s), old);
    }
};

PICTORRA_TEST_MAIN(tst_favourite_files)
#include "tst_favourite_files.moc"
