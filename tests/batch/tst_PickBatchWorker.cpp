// The batch worker in the window, on stand-in browsers: it picks in tabs of
// its own and leaves the user's address box, selected tab and boxes alone.
#include "batch/BatchRunner.h"
#include "batch/PickBatchWorker.h"
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "support/FakeBrowserPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QSignalSpy>
#include <QTemporaryDir>

class PickBatchWorkerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachOutcomeReachesTheBatchAndNothingElse_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("end");
        QTest::newRow("not a product") << QStringLiteral("http://shop.test/a") << QString()
                                       << int(BatchItemWorker::PickEnd::Refused);
        QTest::newRow("verification") << QStringLiteral("http://shop.test/punish?x=1") << QString()
                                      << int(BatchItemWorker::PickEnd::Blocked);
        QTest::newRow("unreachable") << QStringLiteral("http://shop.test/b") << QStringLiteral("页面无法打开：网络错误")
                                     << int(BatchItemWorker::PickEnd::Unreachable);
    }

    void eachOutcomeReachesTheBatchAndNothingElse()
    {
        QFETCH(QString, address);
        QFETCH(QString, failure);
        QFETCH(int, end);
        RecordingDialogs dialogs;
        QTemporaryDir programFolder;
        MainForm::Services services = testServices(dialogs, programFolder.path(), fakeBrowsers());
        services.intervals = Intervals::scaled(0.01);
        MainForm window(services);
        window.addressStrip().setAddress(QStringLiteral("http://mine.test/"));
        PickBatchWorker worker(window.engine());
        QSignalSpy picked(&worker, &BatchItemWorker::picked);
        worker.pick(7, address);
        QCOMPARE(window.tabs().count(), 2);
        static_cast<FakeBrowserPage *>(window.tabs().tabs().last()->browser())->failure = failure;
        QVERIFY(picked.wait(5000));
        QCOMPARE(picked.first().at(0).toInt(), 7);
        QCOMPARE(int(picked.first().at(1).value<BatchItemWorker::PickEnd>()), end);
        QVERIFY(!picked.first().at(3).toString().isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
        QCOMPARE(window.addressStrip().address(), QStringLiteral("http://mine.test/"));
        QCOMPARE(window.tabs().selectedPosition(), 1);
        worker.release(7);
        QCOMPARE(window.tabs().count(), 1);
    }

    // The user closing a tab the batch picks in cancels that item: 已取消,
    // not 不是宝贝页, and 重试失败 takes it again.
    void closingTheBatchsTabCancelsItsItem()
    {
        RecordingDialogs dialogs;
        QTemporaryDir programFolder;
        QTemporaryDir save;
        // Pages that never finish loading: the pick waits while the tab is closed.
        MainForm::Services services = testServices(dialogs, programFolder.path(), [](QWidget *parent) {
            auto *page = new FakeBrowserPage(parent);
            page->completeOnNavigate = false;
            return page;
        });
        MainForm window(services);
        auto *worker = new PickBatchWorker(window.engine());
        BatchRunner runner(worker);
        worker->setParent(&runner);
        runner.setDelay([] { return 0; });
        QVERIFY(runner.open(save.path(), {QStringLiteral("http://shop.test/slow")}));
        runner.start();
        QTRY_COMPARE(window.tabs().count(), 2);
        window.tabs().selectPosition(2);
        window.tabs().closeCurrent();
        QCOMPARE(window.tabs().count(), 1);
        QTRY_COMPARE(runner.rows()[0].state, BatchState::Cancelled);
        QCOMPARE(batchStateText(runner.rows()[0].state), QStringLiteral("已取消"));
        QVERIFY(!runner.rows()[0].note.isEmpty());
        QTRY_COMPARE(runner.status(), BatchRunner::Status::Finished);
        QCOMPARE(runner.tally().failures(), 1);
        runner.retryFailed();
        QTRY_COMPARE(window.tabs().count(), 2);
        QCOMPARE(runner.rows()[0].state, BatchState::Picking);
        runner.stop();
    }
};

PICTORRA_TEST_MAIN(PickBatchWorkerTest)
#include "tst_PickBatchWorker.moc"
