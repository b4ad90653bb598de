// The batch worker in the window, on stand-in browsers: it picks in tabs of
// its own and leaves the user's address box, selected tab and boxes alone.
#include "batch/PickBatchWorker.h"
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "support/FakeBrowserPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

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
};

PICTORRA_TEST_MAIN(PickBatchWorkerTest)
#include "tst_PickBatchWorker.moc"
