// What to save, end to end on the real engine: ticks clicked on the result
// page, and the same choice on --save and --batch (a resumed batch keeps its own).
#include "main_window/AddressStrip.h"
#include "main_window/DownloadCommand.h"
#include "main_window/MainForm.h"
#include "main_window/PickCommand.h"
#include "main_window/ResultMarks.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WebEnginePage.h"
#include "support/LoopbackServer.h"
#include "support/ProductPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"
#include "TestPictures.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QtEndian>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {
// A PNG whose header claims 100000 × 100000 pixels over a few bytes of data.
QByteArray HugeClaim()
{
    QByteArray png = PictureBytes(20);
    qToBigEndian<quint32>(100000, png.data() + 16);
    qToBigEndian<quint32>(100000, png.data() + 20);
    // The header's checksum stays right: a reader that checks it still reads the claim.
    const QByteArray chunk = png.mid(12, 17);
    quint32 crc = 0xffffffff;
    for (char byte : chunk) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    qToBigEndian<quint32>(~crc, png.data() + 29);
    return png;
}
}

class SaveChoiceEngineTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    RecordingDialogs dialogs;
    QTemporaryDir programFolder;
    QWebEngineProfile *profile = nullptr;
    ProductPage bag;   // 3 main, 4 description pictures, the second 300 px wide
    ProductPage twins; // repeats within the item and a hostile header

    QString picture(const QString &name, const QByteArray &bytes)
    {
        server.serve(u"/img/"_s + name, bytes, u"image/png"_s);
        return server.url(u"/img/"_s + name);
    }

    QProcess *run(const QStringList &arguments)
    {
        auto *process = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"PICTORRA_TIME_SCALE"_s, u"0.05"_s);
        process->setProcessEnvironment(env);
        process->start(QStringLiteral(PICTORRA_EXE), arguments);
        process->waitForFinished(120000);
        return process;
    }

    // A click of the mouse on the link, where the page shows it.
    static void click(WebEngineBrowser *browser, const QString &href)
    {
        QVariantList rect;
        browser->page()->runJavaScript(
            u"(function(){var a=document.querySelector('a[href=\"%1\"]');a.scrollIntoView({block:'center'});"
            u"var r=a.getBoundingClientRect();return [r.left+r.width/2,r.top+r.height/2];})()"_s.arg(href),
            QWebEngineScript::ApplicationWorld, [&rect](const QVariant &v) { rect = v.toList(); });
        QVERIFY(QTest::qWaitFor([&] { return rect.size() == 2; }, 5000));
        QWidget *view = browser->widget()->focusProxy() ? browser->widget()->focusProxy() : browser->widget();
        const QPoint at(rect[0].toInt(), rect[1].toInt());
        QTest::mouseMove(view, at);
        QTest::qWait(50);
        QTest::mousePress(view, Qt::LeftButton, {}, at);
        QTest::qWait(50);
        QTest::mouseRelease(view, Qt::LeftButton, {}, at);
    }

    MainForm::Services services()
    {
        MainForm::Services services = testServices(
            dialogs, programFolder.path(), [this](QWidget *parent) { return new WebEngineBrowser(profile, parent); });
        services.intervals = Intervals::scaled(0.05);
        services.intervals.accessTickMs = 1000;
        return services;
    }

    // Picks the page at `path` into the current tab and waits until every size is drawn.
    bool pickShown(MainForm &window, const QString &path)
    {
        QSignalSpy ended(&window.pickCommand(), &PickCommand::pickEnded);
        window.addressStrip().setAddress(server.url(path));
        window.addressStrip().pick_B->click();
        Tab *tab = window.tabs().current();
        const bool shown = ended.wait(60000) && QTest::qWaitFor([&] { return tab->holdsResult(); }, 10000);
        // Sizes drawn move the ticks: clicks wait for the last.
        if (!shown || !QTest::qWaitFor([&] { return tab->marks()->settled(); }, 20000))
            return false;
        QTest::qWait(300);
        return true;
    }

    static QString countsOf(WebEngineBrowser *browser)
    {
        QString counts;
        bool answered = false;
        browser->page()->runJavaScript(u"document.getElementById('pick-counts').textContent"_s,
                                       QWebEngineScript::ApplicationWorld, [&](const QVariant &v) {
                                           counts = v.toString();
                                           answered = true;
                                       });
        return QTest::qWaitFor([&] { return answered; }, 5000) ? counts : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        bag.title = u"帆布包"_s;
        bag.mainPics = {picture(u"m1.png"_s, PictureBytes(800, "PNG", 30)), picture(u"m2.png"_s, PictureBytes(801)),
                        picture(u"m3.png"_s, PictureBytes(802))};
        bag.descPics = {picture(u"d1.png"_s, PictureBytes(750)), picture(u"d2.png"_s, PictureBytes(300)),
                        picture(u"d3.png"_s, PictureBytes(751)), picture(u"d4.png"_s, PictureBytes(752))};
        server.serve(u"/bag.html"_s, bag.html());
        twins.title = u"双胞胎"_s;
        twins.mainPics = {picture(u"a.png"_s, PictureBytes(800)), picture(u"b.png"_s, PictureBytes(300))};
        twins.descPics = {picture(u"again-a.png"_s, PictureBytes(800)), picture(u"c.png"_s, PictureBytes(751)),
                          picture(u"again-c.png"_s, PictureBytes(751)), picture(u"huge.png"_s, HugeClaim())};
        server.serve(u"/twins.html"_s, twins.html());
        profile = BrowserProfile::offTheRecord(this);
    }

    void ticksClickedOnTheResultPageChooseWhatIsSaved()
    {
        QTemporaryDir target;
        dialogs.folderAnswer = target.path();
        MainForm window(services());
        window.show();
        QVERIFY(pickShown(window, u"/bag.html"_s));
        Tab *tab = window.tabs().current();
        auto *browser = qobject_cast<WebEngineBrowser *>(tab->browser());
        // The browser measures the pictures; the narrow one is greyed with its rule's word.
        QString word;
        QVERIFY(!tab->marks()->ticked(MediaKind::Description, 1, &word));
        QCOMPARE(word, u"过窄"_s);
        QVERIFY(tab->marks()->ticked(MediaKind::Description, 0));

        click(browser, u"pictorra:tick/main/1"_s);    // off
        QTRY_COMPARE_WITH_TIMEOUT(tab->choice().tick(MediaKind::Main, 1), SaveChoice::Tick::Off, 10000);
        click(browser, u"pictorra:tick/desc/1"_s);    // ticked back, narrow as it is
        QTRY_COMPARE_WITH_TIMEOUT(tab->choice().tick(MediaKind::Description, 1), SaveChoice::Tick::On, 10000);
        click(browser, u"pictorra:tick/desc/2"_s);    // off
        QTRY_COMPARE_WITH_TIMEOUT(tab->choice().tick(MediaKind::Description, 2), SaveChoice::Tick::Off, 10000);
        // The page says so (商品信息.json is the eighth file), and stays the result page.
        QTRY_VERIFY_WITH_TIMEOUT(countsOf(browser).startsWith(u"将保存 6 / 8"_s), 10000);
        QVERIFY(tab->holdsResult());

        QSignalSpy done(&window.downloadCommand(), &DownloadCommand::finished);
        window.addressStrip().DownLoad_B->click();
        QVERIFY(done.wait(60000));
        const QString item = target.path() + u"/帆布包/"_s;
        QCOMPARE(TreeOf(item), (QStringList{u"主图/"_s, u"主图/主图1.png"_s, u"主图/主图2.png"_s, u"商品信息.json"_s,
                                            u"描述图/"_s, u"描述图/描述图1.png"_s, u"描述图/描述图2.png"_s,
                                            u"描述图/描述图3.png"_s}));
        QCOMPARE(FileBytes(item + u"主图/主图2.png"_s), PictureBytes(802));
        QCOMPARE(FileBytes(item + u"描述图/描述图2.png"_s), PictureBytes(300));
        QCOMPARE(FileBytes(item + u"描述图/描述图3.png"_s), PictureBytes(752));
    }

    // The data files are one tick on their heading: off, 下载 writes neither and the pictures as before.
    void theDataFilesTickLeavesThemOut()
    {
        QTemporaryDir target;
        dialogs.folderAnswer = target.path();
        MainForm window(services());
        window.show();
        QVERIFY(pickShown(window, u"/bag.html"_s));
        Tab *tab = window.tabs().current();
        auto *browser = qobject_cast<WebEngineBrowser *>(tab->browser());
        click(browser, u"pictorra:tick/info/0"_s);
        QTRY_COMPARE_WITH_TIMEOUT(tab->choice().infoTick, SaveChoice::Tick::Off, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(countsOf(browser).startsWith(u"将保存 6 / 8"_s), 10000);

        QSignalSpy done(&window.downloadCommand(), &DownloadCommand::finished);
        window.addressStrip().DownLoad_B->click();
        QVERIFY(done.wait(60000));
        QCOMPARE(TreeOf(target.path() + u"/帆布包"_s),
                 (QStringList{u"主图/"_s, u"主图/主图1.png"_s, u"主图/主图2.png"_s, u"主图/主图3.png"_s, u"描述图/"_s,
                              u"描述图/描述图1.png"_s, u"描述图/描述图2.png"_s, u"描述图/描述图3.png"_s}));
    }

    // Fifty pictures whose sizes arrive at once: the window keeps answering.
    // With PICTORRA_RESULT_SHOTS=DIR it also leaves DIR/result-light.png and
    // DIR/result-dark.png to look at (run under Xvfb at 1366×768).
    void fiftyPicturesLeaveThePageResponsive()
    {
        ProductPage many;
        many.title = u"五十张图"_s;
        for (int i = 0; i < 50; ++i) {
            QImage image(i % 7 == 3 ? 320 : 640 + 10 * i, 360 + 8 * i, QImage::Format_RGB32);
            image.fill(QColor::fromHsv((i * 37) % 360, 120, 220));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
            (i < 12 ? many.mainPics : many.descPics) << picture(u"many%1.png"_s.arg(i), bytes);
        }
        server.serve(u"/many.html"_s, many.html());
        const QString shots = qEnvironmentVariable("PICTORRA_RESULT_SHOTS");
        for (const QString &skin : shots.isEmpty() ? QStringList{QString()} : QStringList{u"清爽白"_s, u"暗夜黑"_s}) {
            if (!skin.isEmpty()) {
                QFile sheet(QStringLiteral(PICTORRA_SKINS_SOURCE) + u'/' + skin + u".qss"_s);
                QVERIFY(sheet.open(QIODevice::ReadOnly));
                qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
            }
            MainForm window(services());
            window.setGeometry(0, 0, 1366, 768);
            window.show();
            QSignalSpy ended(&window.pickCommand(), &PickCommand::pickEnded);
            window.addressStrip().setAddress(server.url(u"/many.html"_s));
            window.addressStrip().pick_B->click();
            QVERIFY(ended.wait(60000));
            Tab *tab = window.tabs().current();
            QTRY_VERIFY_WITH_TIMEOUT(tab->holdsResult(), 10000);
            QElapsedTimer clock;
            clock.start();
            qint64 last = 0, longest = 0;
            QTimer beat;
            connect(&beat, &QTimer::timeout, this, [&] {
                longest = std::max(longest, clock.elapsed() - last);
                last = clock.elapsed();
            });
            beat.start(10);
            QTRY_VERIFY_WITH_TIMEOUT(tab->marks()->settled(), 30000);
            QVERIFY2(longest < 500, qPrintable(u"the window stood still for %1 ms"_s.arg(longest)));
            QString word;
            QVERIFY(!tab->marks()->ticked(MediaKind::Description, 17 - 12, &word)); // picture 17: 320 px
            QCOMPARE(word, u"过窄"_s);
            if (!skin.isEmpty()) {
                const QString name = shots + (skin == u"暗夜黑"_s ? u"/result-dark"_s : u"/result-light"_s);
                QTest::qWait(500);
                window.grab().save(name + u".png"_s);
                tab->browser()->scrollBy(0, 900);
                QTest::qWait(500);
                window.grab().save(name + u"-lower.png"_s);
            }
        }
        qApp->setStyleSheet(QString());
    }

    void theCommandLineChoosesTooAndRefusesBadValues()
    {
        QTemporaryDir target;
        std::unique_ptr<QProcess> bad(run({u"--pick"_s, server.url(u"/twins.html"_s), u"--save"_s, target.path(),
                                           u"--min-width"_s, u"desc=-1"_s}));
        QCOMPARE(bad->exitCode(), 2);
        QVERIFY(QString::fromLocal8Bit(bad->readAllStandardError()).contains(u"--min-width desc=-1"_s));
        bad.reset(run({u"--batch"_s, u"x"_s, u"--save"_s, target.path(), u"--only"_s, u"main,pics"_s}));
        QCOMPARE(bad->exitCode(), 2);
        QVERIFY(QString::fromLocal8Bit(bad->readAllStandardError()).contains(u"pics"_s));
        QVERIFY(QDir(target.path()).isEmpty());

        std::unique_ptr<QProcess> save(run({u"--pick"_s, server.url(u"/twins.html"_s), u"--save"_s, target.path(),
                                            u"--only"_s, u"main,desc"_s, u"--min-width"_s, u"main=500"_s, u"--dedupe"_s}));
        const QJsonObject line = QJsonDocument::fromJson(save->readAllStandardOutput()).object();
        QCOMPARE(save->exitCode(), 0);
        // No data files; the narrow main picture and both repeats go; the huge claim is kept unread.
        const QString item = target.path() + u"/双胞胎/"_s;
        QCOMPARE(TreeOf(item), (QStringList{u"主图/"_s, u"主图/主图1.png"_s, u"描述图/"_s, u"描述图/描述图1.png"_s,
                                            u"描述图/描述图2.png"_s}));
        QCOMPARE(FileBytes(item + u"描述图/描述图1.png"_s), PictureBytes(751));
        QCOMPARE(FileBytes(item + u"描述图/描述图2.png"_s), HugeClaim());
        QCOMPARE(line.value(u"dropped"_s).toInt(), 3);
        QCOMPARE(line.value(u"droppedBy"_s).toObject(), (QJsonObject{{u"narrow"_s, 1}, {u"low"_s, 0}, {u"same"_s, 2}}));
    }

    void aResumedBatchKeepsItsChoice()
    {
        QTemporaryDir target;
        const QString list = target.filePath(u"list.txt"_s);
        QFile file(list);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(server.url(u"/bag.html"_s).toUtf8() + '\n');
        file.close();
        const QString folder = target.filePath(u"out"_s);
        std::unique_ptr<QProcess> first(run({u"--batch"_s, list, u"--save"_s, folder, u"--delay"_s, u"0"_s,
                                             u"--only"_s, u"main"_s}));
        QCOMPARE(first->exitCode(), 0);
        // The list grows; the batch goes on in its folder without the options.
        QVERIFY(file.open(QIODevice::Append));
        file.write(server.url(u"/twins.html"_s).toUtf8() + '\n');
        file.close();
        std::unique_ptr<QProcess> again(run({u"--batch"_s, list, u"--save"_s, folder, u"--delay"_s, u"0"_s}));
        QCOMPARE(again->exitCode(), 0);
        const QString said = QString::fromLocal8Bit(again->readAllStandardError());
        QVERIFY(said.contains(u"保存 主图"_s));
        QVERIFY(said.contains(u"沿用开始时的选择"_s)); // and says that it did
        QCOMPARE(TreeOf(folder + u"/双胞胎"_s), (QStringList{u"主图/"_s, u"主图/主图1.png"_s, u"主图/主图2.png"_s}));
        QCOMPARE(TreeOf(folder + u"/帆布包"_s).size(), 4);
    }
};

PICTORRA_TEST_MAIN(SaveChoiceEngineTest)
#include "tst_save_choice_engine.moc"
