// The Download command end to end on the real engine: pick served product
// pages, then save their pictures from a loopback server.
#include "main_window/DownloadCommand.h"
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "main_window/MainToolbar.h"
#include "main_window/PickCommand.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "support/LoopbackServer.h"
#include "support/ProductPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"
#include "TestPictures.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <memory>

class DownloadEngineTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    RecordingDialogs dialogs;
    QTemporaryDir programFolder;
    QWebEngineProfile *profile = nullptr;
    std::unique_ptr<MainForm> window;
    std::unique_ptr<QTemporaryDir> target;
    QHash<QString, QByteArray> pictures;
    ProductPage bag;     // 3 main, 5 description pictures, one of them 300 px wide
    ProductPage teapot;  // edge widths and failures

    QString picture(const QString &name, const QByteArray &bytes)
    {
        pictures.insert(name, bytes);
        server.serve(QStringLiteral("/img/") + name, bytes,
                     name.endsWith(QLatin1String(".png")) ? QStringLiteral("image/png") : QStringLiteral("image/jpeg"));
        return server.url(QStringLiteral("/img/") + name);
    }

    void pick(const QString &path)
    {
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        window->addressStrip().setAddress(server.url(path));
        window->addressStrip().pick_B->click();
        QVERIFY(ended.wait(60000));
        QVERIFY(ended.first().at(1).toBool());
        Tab *tab = ended.first().at(0).value<Tab *>();
        QTRY_VERIFY_WITH_TIMEOUT(
            window->tabs().captionAt(window->tabs().positionOf(tab)).startsWith(QLatin1String("Pick:")), 10000);
    }

    bool download()
    {
        QSignalSpy done(&window->downloadCommand(), &DownloadCommand::finished);
        window->addressStrip().DownLoad_B->click();
        return window->downloadCommand().isRunning() ? done.wait(60000) : true;
    }

    QString item(const QString &name) { return target->path() + QLatin1Char('/') + name; }

    // The ids of the divs the page shows now.
    QStringList divsOnPage(BrowserPage *page)
    {
        QStringList ids;
        bool answered = false;
        page->readDocument({}, this, [&](const DocumentSnapshot &snapshot) {
            for (const DivElement &div : snapshot.divs)
                ids << div.id;
            answered = true;
        });
        if (!QTest::qWaitFor([&] { return answered; }, 10000))
            ids << QStringLiteral("(no answer)");
        return ids;
    }

private Q_SLOTS:
    void initTestCase()
    {
        bag.title = QStringLiteral("真皮手提包 - 阿里巴巴");
        bag.mainPics = {picture(QStringLiteral("b1.jpg"), PictureBytes(300, "JPEG")),
                        picture(QStringLiteral("b2.jpg"), PictureBytes(800, "JPEG")),
                        picture(QStringLiteral("b3.png"), PictureBytes(800))};
        bag.descPics = {picture(QStringLiteral("d1.jpg"), PictureBytes(750, "JPEG")),
                        picture(QStringLiteral("d2.png"), PictureBytes(300)),
                        picture(QStringLiteral("d3.png"), PictureBytes(750)),
                        picture(QStringLiteral("d4.png"), PictureBytes(751)),
                        picture(QStringLiteral("d5.jpg"), PictureBytes(752, "JPEG"))};
        server.serve(QStringLiteral("/bag.html"), bag.html());

        teapot.title = QStringLiteral("紫砂茶壶");
        server.serveStatus(QStringLiteral("/img/missing.jpg"), 404, "<html>not found</html>");
        server.serveStalled(QStringLiteral("/img/stalled.png"));
        server.serveRedirect(QStringLiteral("/img/moved.png"), QStringLiteral("/img/d3.png"));
        teapot.mainPics = {server.url(QStringLiteral("/img/missing.jpg")), picture(QStringLiteral("t1.jpg"), PictureBytes(200, "JPEG"))};
        teapot.descPics = {picture(QStringLiteral("w450.png"), PictureBytes(450)),
                           picture(QStringLiteral("w449.png"), PictureBytes(449)),
                           server.url(QStringLiteral("/img/stalled.png")),
                           server.url(QStringLiteral("/img/moved.png"))};
        server.serve(QStringLiteral("/teapot.html"), teapot.html());

        ProductPage empty;
        empty.title = QStringLiteral("空的宝贝");
        server.serve(QStringLiteral("/empty.html"), empty.html());
        profile = BrowserProfile::offTheRecord(this);
    }

    void init()
    {
        dialogs = RecordingDialogs();
        target = std::make_unique<QTemporaryDir>();
        dialogs.folderAnswer = target->path();
        MainForm::Services services = testServices(
            dialogs, programFolder.path(), [this](QWidget *parent) { return new WebEngineBrowser(profile, parent); });
        services.intervals = Intervals::scaled(0.05);
        services.intervals.fetchStallMs = 500;
        services.intervals.accessTickMs = 1000;  // a busy machine still gets its pages in time
        window = std::make_unique<MainForm>(services);
        window->show();
    }

    void cleanup() { window.reset(); }

    void resultTabsAreSavedInTabOrder()
    {
        pick(QStringLiteral("/bag.html"));
        window->NewP();  // an ordinary tab in between
        window->NewP();
        pick(QStringLiteral("/empty.html"));
        QSignalSpy progress(&window->downloadCommand(), &DownloadCommand::progressed);
        QVERIFY(download());

        QCOMPARE(dialogs.folderRequests.size(), 1);
        QCOMPARE(dialogs.folderRequests[0].title, QStringLiteral("请选择保存目录"));
        QCOMPARE(dialogs.folderRequests[0].initialFolder, QDir::currentPath());
        QCOMPARE(TreeOf(target->path()),
                 (QStringList{QStringLiteral("真皮手提包/"), QStringLiteral("真皮手提包/主图/"),
                              QStringLiteral("真皮手提包/主图/主图1.jpg"), QStringLiteral("真皮手提包/主图/主图2.jpg"),
                              QStringLiteral("真皮手提包/主图/主图3.png"), QStringLiteral("真皮手提包/商品信息.json"),
                              QStringLiteral("真皮手提包/描述图/"),
                              QStringLiteral("真皮手提包/描述图/描述图1.jpg"), QStringLiteral("真皮手提包/描述图/描述图2.png"),
                              QStringLiteral("真皮手提包/描述图/描述图3.png"), QStringLiteral("真皮手提包/描述图/描述图4.jpg"),
                              QStringLiteral("空的宝贝/"), QStringLiteral("空的宝贝/主图/"), QStringLiteral("空的宝贝/商品信息.json"),
                              QStringLiteral("空的宝贝/描述图/")}));
        // Byte for byte; the narrow second description picture gave its number to the third.
        QCOMPARE(FileBytes(item(QStringLiteral("真皮手提包/主图/主图1.jpg"))), pictures.value(QStringLiteral("b1.jpg")));
        QCOMPARE(FileBytes(item(QStringLiteral("真皮手提包/描述图/描述图2.png"))), pictures.value(QStringLiteral("d3.png")));
        QCOMPARE(FileBytes(item(QStringLiteral("真皮手提包/描述图/描述图4.jpg"))), pictures.value(QStringLiteral("d5.jpg")));

        QList<int> done;
        for (const QList<QVariant> &step : progress)
            if (step.at(0).value<Tab *>() == window->tabs().tab(0))
                done << step.at(1).toInt();
        QCOMPARE(done, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(window->tabs().captionAt(1), QStringLiteral("已下载:真皮手提包"));
        QCOMPARE(window->tabs().captionAt(2), QString());
        // An item without a single picture does not pass for a clean download.
        QCOMPARE(window->tabs().captionAt(3), QStringLiteral("已下载(无图片):空的宝贝"));
        QCOMPARE(window->tabs().mesg(2)->item(1)->text(), QStringLiteral("保存0张 丢弃0张(宽度小于450像素) 失败0张"));
        QCOMPARE(window->tabs().mesg(0)->item(1)->text(), QStringLiteral("保存7张 丢弃1张(宽度小于450像素) 失败0张"));
        QCOMPARE(window->tabs().mesg(0)->item(0)->text(),
                 QStringLiteral("消息提示:下载完成,保存至->") + item(QStringLiteral("真皮手提包")) + QStringLiteral("->双击打开"));
        QCOMPARE(window->tabs().mesg(2)->item(0)->text(),
                 QStringLiteral("消息提示:没有可下载的图片,已建目录->") + item(QStringLiteral("空的宝贝")) + QStringLiteral("->双击打开"));

        // Double click opens the folder of a downloaded tab, and nothing elsewhere.
        QStringList opened;
        window->downloadCommand().setFolderOpener([&opened](const QString &folder) {
            opened << folder;
            return true;
        });
        window->downloadCommand().mesgDblClick(window->tabs().tab(0));
        window->downloadCommand().mesgDblClick(window->tabs().tab(1));
        QCOMPARE(opened, QStringList{item(QStringLiteral("真皮手提包"))});
    }

    void aSecondDownloadGetsANumberedFolder()
    {
        pick(QStringLiteral("/bag.html"));
        QVERIFY(download());
        window->NewP();
        pick(QStringLiteral("/bag.html"));
        QVERIFY(download());
        QVERIFY(QFileInfo(item(QStringLiteral("真皮手提包1/主图/主图3.png"))).isFile());
        QCOMPARE(window->tabs().mesg(1)->item(0)->text(),
                 QStringLiteral("消息提示:下载完成,保存至->") + item(QStringLiteral("真皮手提包1")) + QStringLiteral("->双击打开"));
    }

    void theResultStaysUntilTheTabLeavesIt()
    {
        pick(QStringLiteral("/bag.html"));
        BrowserPage *page = window->tabs().browser(0);
        // Pick on a result is refused before anything moves.
        window->addressStrip().setAddress(server.url(QStringLiteral("/teapot.html")));
        window->addressStrip().pick_B->click();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("已经是采集结果，无需再采集，请直接下载！"));
        QTest::qWait(500);
        QCOMPARE(page->LocationURL(), QStringLiteral("about:blank"));
        QVERIFY(divsOnPage(page).contains(QStringLiteral("mod-detail")));

        // 刷新 writes the result page again instead of reloading a blank one.
        QSignalSpy loaded(page, &BrowserPage::DownloadComplete);
        MainToolbar::hooks(*window).refresh();
        QVERIFY(loaded.wait(10000));
        QVERIFY(QTest::qWaitFor([&] { return divsOnPage(page).contains(QStringLiteral("mod-detail")); }, 10000));

        // The download saves the pick, whatever the page went through.
        QVERIFY(download());
        QCOMPARE(QDir(item(QStringLiteral("真皮手提包/主图"))).entryList(QDir::Files).size(), 3);
        QCOMPARE(QDir(item(QStringLiteral("真皮手提包/描述图"))).entryList(QDir::Files).size(), 4);

        // Going elsewhere makes it an ordinary tab: its title, Pick allowed, Download skips it.
        window->addressStrip().setAddress(server.url(QStringLiteral("/teapot.html")));
        emit window->addressStrip().addressEntered(server.url(QStringLiteral("/teapot.html")));
        QTRY_COMPARE_WITH_TIMEOUT(window->tabs().captionAt(1), QStringLiteral("紫砂茶壶"), 10000);
        dialogs.messages.clear();
        QVERIFY(download());
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("页面上无采集结果,采集结果标题以Pick开头"));
        QCOMPARE(dialogs.folderRequests.size(), 1);
        pick(QStringLiteral("/teapot.html"));
        QCOMPARE(window->tabs().count(), 1);
    }

    void theMessageRowsFitAndCoverNothing()
    {
        pick(QStringLiteral("/bag.html"));
        QVERIFY(download());
        QListWidget *list = window->tabs().mesg(0);
        QCOMPARE(list->count(), 2);
        QWidget *client = window->clientArea();
        QDirIterator skins(QStringLiteral(PICTORRA_SKINS_SOURCE), {QStringLiteral("*.qss")});
        QStringList seen;
        while (skins.hasNext()) {
            const QString skin = skins.next();
            QFile file(skin);
            QVERIFY(file.open(QIODevice::ReadOnly));
            qApp->setStyleSheet(QString::fromUtf8(file.readAll()));
            QCoreApplication::processEvents();
            seen << skins.fileName();
            QVERIFY2(list->height() >= list->count() * list->sizeHintForRow(0), qPrintable(skin));
            QVERIFY2(list->height() >= 2 * list->fontMetrics().height(), qPrintable(skin));
            QVERIFY2(window->tabs().browser(0)->widget()->y() > list->geometry().bottom(), qPrintable(skin));
            for (QPushButton *button : {window->addressStrip().pick_B, window->addressStrip().DownLoad_B}) {
                const QRect area = button->rect().adjusted(1, 1, -1, -1);
                for (const QPoint corner : {area.topLeft(), area.topRight(), area.bottomLeft(), area.bottomRight()}) {
                    QWidget *hit = client->childAt(button->mapTo(client, corner));
                    QVERIFY2(hit == button || button->isAncestorOf(hit), qPrintable(skin + QLatin1Char(' ') + button->objectName()));
                }
            }
        }
        qApp->setStyleSheet(QString());
        QCOMPARE(seen.size(), 6);
    }

    void aCancelledChooserWritesNothing()
    {
        pick(QStringLiteral("/bag.html"));
        dialogs.folderAnswer.clear();
        QVERIFY(download());
        QVERIFY(TreeOf(target->path()).isEmpty());
        QCOMPARE(window->tabs().captionAt(1), QStringLiteral("Pick:真皮手提包"));
        dialogs.folderAnswer = target->path();
        QVERIFY(download());
        QCOMPARE(QDir(item(QStringLiteral("真皮手提包/主图"))).entryList(QDir::Files).size(), 3);
        QCOMPARE(QDir(item(QStringLiteral("真皮手提包/描述图"))).entryList(QDir::Files).size(), 4);
    }

    void failuresAndEdgeWidths()
    {
        pick(QStringLiteral("/teapot.html"));
        // The written result page underneath, the product's address in the box (for 复制 and 收藏).
        QVERIFY(window->tabs().browser(0)->LocationURL() != server.url(QStringLiteral("/teapot.html")));
        QTRY_COMPARE(window->addressStrip().address(), server.url(QStringLiteral("/teapot.html")));
        QVERIFY(download());
        QCOMPARE(TreeOf(item(QStringLiteral("紫砂茶壶"))),
                 (QStringList{QStringLiteral("主图/"), QStringLiteral("主图/主图2.jpg"), QStringLiteral("商品信息.json"),
                              QStringLiteral("描述图/"), QStringLiteral("描述图/描述图1.png"), QStringLiteral("描述图/描述图2.png")}));
        QCOMPARE(FileBytes(item(QStringLiteral("紫砂茶壶/描述图/描述图1.png"))), pictures.value(QStringLiteral("w450.png")));
        QCOMPARE(FileBytes(item(QStringLiteral("紫砂茶壶/描述图/描述图2.png"))), pictures.value(QStringLiteral("d3.png")));
        QCOMPARE(window->tabs().mesg(0)->item(0)->text(),
                 QStringLiteral("消息提示:下载结束，2张失败,保存至->") + item(QStringLiteral("紫砂茶壶")) + QStringLiteral("->双击打开"));
        // The failures show where the eye goes: a row of their own and the caption.
        QVERIFY(window->tabs().mesg(0)->item(1)->text().startsWith(QStringLiteral("保存3张 丢弃1张(宽度小于450像素) 失败2张")));
        QCOMPARE(window->tabs().captionAt(1), QStringLiteral("已下载(2张失败):紫砂茶壶"));
        // Again: the result on screen is not "no result", it was saved there.
        QVERIFY(download());
        QCOMPARE(dialogs.messages.last().text, QStringLiteral("已下载到 ") + item(QStringLiteral("紫砂茶壶")) + QStringLiteral("，双击打开"));
    }

    void aSecondDownloadWhileOneRunsIsRefused()
    {
        pick(QStringLiteral("/teapot.html"));
        QSignalSpy done(&window->downloadCommand(), &DownloadCommand::finished);
        window->addressStrip().DownLoad_B->click();
        QVERIFY(window->downloadCommand().isRunning());
        window->addressStrip().DownLoad_B->click();
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("正在下载中，请等当前下载完成后再点击下载。"));
        QVERIFY(done.wait(60000));
        QCOMPARE(dialogs.folderRequests.size(), 1);
    }

    void closingATabDuringItsDownloadLeavesTheOthersGoing()
    {
        pick(QStringLiteral("/teapot.html"));  // the stalled picture keeps it busy
        window->NewP();
        pick(QStringLiteral("/bag.html"));
        QSignalSpy done(&window->downloadCommand(), &DownloadCommand::finished);
        window->addressStrip().DownLoad_B->click();
        QTRY_VERIFY(window->tabs().selectedPosition() == 1);
        window->tabs().closeCurrent();  // the teapot tab, while it downloads
        QVERIFY(done.wait(60000));
        QVERIFY(QFileInfo(item(QStringLiteral("真皮手提包/描述图/描述图4.jpg"))).isFile());
        QCOMPARE(window->tabs().captionAt(window->tabs().count()), QStringLiteral("已下载:真皮手提包"));
    }

    void noResultTabNoChooser()
    {
        QVERIFY(download());
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("页面上无采集结果,采集结果标题以Pick开头"));
        QCOMPARE(dialogs.messages[0].icon, Dialogs::Icon::Information);
        QVERIFY(dialogs.folderRequests.isEmpty());
    }

    void theScreenlessRunSavesEverything()
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PICTORRA_TIME_SCALE"), QStringLiteral("0.05"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(PICTORRA_EXE), {QStringLiteral("--pick"), server.url(QStringLiteral("/bag.html")),
                                                     QStringLiteral("--save"), target->path()});
        QVERIFY(process.waitForFinished(90000));
        const QByteArray out = process.readAllStandardOutput();
        QVERIFY2(process.exitCode() == 0, (out + process.readAllStandardError()).constData());
        // Standard output is the page's JSON line alone, printed with what its save came to.
        const QList<QByteArray> lines = out.trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        const QJsonObject line = QJsonDocument::fromJson(lines[0]).object();
        QCOMPARE(line.value(QStringLiteral("folder")).toString(), item(QStringLiteral("真皮手提包")));
        QCOMPARE(line.value(QStringLiteral("saved")).toInt(), 7);
        QCOMPARE(line.value(QStringLiteral("dropped")).toInt(), 1);
        QCOMPARE(line.value(QStringLiteral("failedNames")).toArray().size(), 0);
        QCOMPARE(QDir(item(QStringLiteral("真皮手提包/描述图"))).entryList(QDir::Files).size(), 4);

        // The bundled sample shop, served by the program itself.
        QTemporaryDir demoTarget;
        QProcess demo;
        demo.setProcessEnvironment(env);
        demo.start(QStringLiteral(PICTORRA_EXE), {QStringLiteral("--demo"), QStringLiteral("--save"), demoTarget.path()});
        QVERIFY(demo.waitForFinished(90000));
        QCOMPARE(demo.exitCode(), 0);
        const QStringList items = QDir(demoTarget.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(items.size(), 1);
        const QString shop = demoTarget.path() + QLatin1Char('/') + items.first();
        QCOMPARE(QDir(shop + QStringLiteral("/主图")).entryList(QDir::Files).size(), 5);
        QCOMPARE(QDir(shop + QStringLiteral("/描述图")).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("描述图1.jpg"), QStringLiteral("描述图2.png"), QStringLiteral("描述图3.jpg"),
                              QStringLiteral("描述图4.png"), QStringLiteral("描述图5.jpg"), QStringLiteral("描述图6.png")}));

        // A missing folder is made; one that cannot be (under a file) is refused with the reason.
        QFile blocker(item(QStringLiteral("blocker")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QProcess missing;
        missing.start(QStringLiteral(PICTORRA_EXE), {QStringLiteral("--pick"), server.url(QStringLiteral("/bag.html")),
                                                     QStringLiteral("--save"), blocker.fileName() + QStringLiteral("/x")});
        QVERIFY(missing.waitForFinished(30000));
        QCOMPARE(missing.exitCode(), 2);
        QVERIFY(missing.readAllStandardError().contains("Not a directory"));
    }
};

PICTORRA_TEST_MAIN(DownloadEngineTest)
#include "tst_download_engine.moc"
