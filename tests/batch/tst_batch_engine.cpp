// The batch end to end on the real engine: the 批量采集 window picks and
// saves served product pages through the window's own commands.
#include "../download/TestPictures.h"
#include "batch/BatchRunner.h"
#include "batch/BatchTableModel.h"
#include "main_window/BatchWindow.h"
#include "main_window/MainForm.h"
#include "main_window/Tab.h"
#include "main_window/TabSet.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "support/LoopbackServer.h"
#include "support/ProductPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTemporaryDir>
#include <QWebEngineProfile>

#include <httplib.h>

#include <atomic>
#include <memory>

using namespace Qt::StringLiterals;

class BatchEngineTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    RecordingDialogs dialogs;
    QTemporaryDir programFolder;
    QTemporaryDir target;

    QString picture(const QString &name, int width)
    {
        server.serve(u"/img/"_s + name, PictureBytes(width), u"image/png"_s);
        return server.url(u"/img/"_s + name);
    }

    void page(const QString &path, const QString &title, const QStringList &main, const QStringList &desc)
    {
        ProductPage product;
        product.title = title;
        product.mainPics = main;
        product.descPics = desc;
        server.serve(path, product.html());
    }

    static Tab *keptTab(MainForm &window)
    {
        for (Tab *tab : window.tabs().tabs())
            if (tab->holdsResult())
                return tab;
        return nullptr;
    }

private Q_SLOTS:
    void batchSavesEachItemOnceAndKeepsTheRest()
    {
        page(u"/cup.html"_s, u"白瓷杯"_s, {picture(u"c1.png"_s, 800), picture(u"c2.png"_s, 800)}, {picture(u"c3.png"_s, 790)});
        page(u"/pot.html"_s, u"紫砂壶"_s, {picture(u"p1.png"_s, 800)}, {picture(u"p2.png"_s, 790), picture(u"p3.png"_s, 790)});
        server.serveStatus(u"/img/missing.png"_s, 404, "<html>not found</html>");
        page(u"/bowl.html"_s, u"青花碗"_s, {picture(u"b1.png"_s, 800), server.url(u"/img/missing.png"_s)}, {});
        server.serve(u"/plain.html"_s, "<html><head><title>hello</title></head><body>no product</body></html>");
        // A slider check until the user has passed it, then a product page.
        ProductPage checked;
        checked.title = u"玻璃瓶"_s;
        checked.mainPics = {picture(u"g1.png"_s, 800)};
        auto passed = std::make_shared<std::atomic<bool>>(false);
        server.serveHandler(u"/check.html"_s, [passed, html = checked.html()](const httplib::Request &, httplib::Response &res) {
            const QByteArray body = *passed ? html
                                            : QByteArray("<html><head><title>security-X5</title></head><body>"
                                                         "<form id=\"nocaptcha\">请按住滑块，拖动到最右边</form></body></html>");
            res.set_content(body.constData(), size_t(body.size()), "text/html; charset=utf-8");
        });
        const QStringList paths{u"/cup.html"_s, u"/plain.html"_s, u"/bowl.html"_s, u"/pot.html"_s, u"/check.html"_s};

        QWebEngineProfile *profile = BrowserProfile::offTheRecord(this);
        MainForm::Services services = testServices(
            dialogs, programFolder.path(), [profile](QWidget *parent) { return new WebEngineBrowser(profile, parent); });
        services.intervals = Intervals::scaled(0.1);
        services.intervals.accessTickMs = 1000;
        MainForm window(services);
        window.show();
        window.fileMenu()->findChild<QAction *>(u"Man"_s)->trigger();
        auto *batch = qobject_cast<BatchWindow *>(window.batchWindow());
        QVERIFY(batch);
        batch->runner().setDelay([] { return 0; });
        batch->runner().setParallel(2);
        batch->setSaveFolder(target.path());
        QStringList urls;
        for (const QString &path : paths)
            urls << server.url(path);
        batch->setAddresses(urls.join(u'\n'));
        // PICTORRA_BATCH_SHOTS=DIR keeps pictures of the window for a look by eye.
        const QString shots = qEnvironmentVariable("PICTORRA_BATCH_SHOTS");
        connect(&batch->runner(), &BatchRunner::rowFinished, batch, [batch, shots](int row) {
            if (!shots.isEmpty() && row == 1)
                batch->grab().save(shots + u"/engine-during.png"_s);
        });
        batch->startClicked();
        // The slider check pauses the batch; once it is passed, 继续 picks it again.
        QTRY_COMPARE_WITH_TIMEOUT(batch->model().cellText(4, BatchTableModel::State), u"需要验证"_s, 180000);
        QTRY_COMPARE_WITH_TIMEOUT(batch->runner().status(), BatchRunner::Status::Paused, 60000);
        *passed = true;
        batch->startClicked();
        QTRY_COMPARE_WITH_TIMEOUT(batch->runner().status(), BatchRunner::Status::Finished, 180000);
        if (!shots.isEmpty())
            batch->grab().save(shots + u"/engine-after.png"_s);

        QStringList states;
        for (int row = 0; row < 5; ++row)
            states << batch->model().cellText(row, BatchTableModel::State);
        QCOMPARE(states, (QStringList{u"完成"_s, u"不是宝贝页"_s, u"部分失败"_s, u"完成"_s, u"完成"_s}));
        QCOMPARE(batch->model().cellText(2, BatchTableModel::Failed), u"1"_s);
        const QStringList tree = TreeOf(target.path());
        for (const QString &file : {u"白瓷杯/主图/主图1.png"_s, u"白瓷杯/主图/主图2.png"_s, u"白瓷杯/描述图/描述图1.png"_s,
                                    u"紫砂壶/描述图/描述图2.png"_s, u"青花碗/主图/主图1.png"_s})
            QVERIFY2(tree.contains(file), qPrintable(tree.join(u' ')));
        QCOMPARE(QDir(target.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 4);
        QTRY_COMPARE_WITH_TIMEOUT(window.tabs().count(), 1, 20000); // finished tabs went away

        // 开始 again on the same folder: nothing is picked or saved twice.
        batch->startClicked();
        QTRY_COMPARE_WITH_TIMEOUT(batch->runner().status(), BatchRunner::Status::Finished, 60000);
        QCOMPARE(batch->model().cellText(0, BatchTableModel::State), u"已保存"_s);
        QCOMPARE(batch->model().cellText(3, BatchTableModel::State), u"已保存"_s);
        QCOMPARE(TreeOf(target.path()), tree);
        QCOMPARE(window.tabs().count(), 1);
    }

    // A result the batch kept in its tab and saved is saved: closing the tab asks nothing.
    void aKeptResultThatWasSavedClosesWithoutAQuestion()
    {
        page(u"/jar.html"_s, u"玻璃罐"_s, {picture(u"j1.png"_s, 800)}, {});
        QWebEngineProfile *profile = BrowserProfile::offTheRecord(this);
        MainForm::Services services = testServices(
            dialogs, programFolder.path(), [profile](QWidget *parent) { return new WebEngineBrowser(profile, parent); });
        services.intervals = Intervals::scaled(0.1);
        MainForm window(services);
        window.show();
        window.fileMenu()->findChild<QAction *>(u"Man"_s)->trigger();
        auto *batch = qobject_cast<BatchWindow *>(window.batchWindow());
        QVERIFY(batch);
        for (QCheckBox *box : batch->findChildren<QCheckBox *>())
            if (box->text() == u"保留结果页"_s)
                box->setChecked(true);
        batch->runner().setDelay([] { return 0; });
        QTemporaryDir folder;
        batch->setSaveFolder(folder.path());
        batch->setAddresses(server.url(u"/jar.html"_s));
        batch->startClicked();
        QTRY_COMPARE_WITH_TIMEOUT(batch->runner().status(), BatchRunner::Status::Finished, 60000);
        Tab *kept = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((kept = keptTab(window)), 20000); // its page may be written after the save
        QVERIFY(kept->lastDownload());
        window.tabs().select(kept);
        window.tabs().closeCurrent();
        QVERIFY2(dialogs.questions.isEmpty(), qPrintable(dialogs.questions.join(u' ')));
        QVERIFY(!window.tabs().tabs().contains(kept));
    }
};

PICTORRA_TEST_MAIN(BatchEngineTest)
#include "tst_batch_engine.moc"
