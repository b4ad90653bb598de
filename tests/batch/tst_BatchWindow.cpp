#include "FakeBatchWorker.h"
#include "batch/BatchJournal.h"
#include "batch/BatchRunner.h"
#include "batch/BatchTableModel.h"
#include "main_window/BatchWindow.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <memory>

using namespace Qt::StringLiterals;
using PickEnd = BatchItemWorker::PickEnd;

class BatchWindowTest : public QObject
{
    Q_OBJECT
private slots:
    void runsAPastedListAndRemembersTheFolder()
    {
        QTemporaryDir program;
        QTemporaryDir save;
        const QString config = program.filePath(u"config.ini"_s);
        FakeBatchWorker worker;
        const QString good = u"https://detail.1688.com/offer/123456.html"_s;
        const QString other = u"https://detail.1688.com/offer/654321.html"_s;
        worker.scripts = {{good, {PickEnd::Picked, u"杯子"_s, 0, true}}, {other, {PickEnd::Refused, {}}}};
        RecordingDialogs dialogs;
        auto first = std::make_unique<BatchWindow>(&worker, dialogs, config);
        BatchWindow &window = *first;
        QCOMPARE(window.windowTitle(), u"批量采集"_s);
        window.runner().setDelay([] { return 0; });
        window.setAddresses(u"看看 https://m.1688.com/offer/123456.html?x=1 \n\n"_s + good + u"\n"_s + other);
        window.setSaveFolder(save.path());
        window.show();
        window.startClicked();
        QTRY_VERIFY(worker.holding());
        QCOMPARE(window.model().rowCount(), 2);
        grabIfAsked(window, u"during"_s);
        worker.finishHeld();
        QTRY_COMPARE(window.runner().status(), BatchRunner::Status::Finished);
        QCOMPARE(window.model().cellText(0, BatchTableModel::State), u"完成"_s);
        QCOMPARE(window.model().cellText(1, BatchTableModel::State), u"不是宝贝页"_s);
        grabIfAsked(window, u"after"_s);
        QCOMPARE(QSettings(config, QSettings::IniFormat).value(u"config/BatchFolder"_s).toString(), save.path());

        // A new window starts on the folder chosen last time, once the first
        // has let the folder go.
        first.reset();
        BatchWindow again(&worker, dialogs, config);
        again.setAddresses(good);
        again.runner().setDelay([] { return 0; });
        again.startClicked();
        QTRY_COMPARE(again.runner().status(), BatchRunner::Status::Finished);
        QCOMPARE(again.model().cellText(0, BatchTableModel::State), u"已保存"_s);
    }

    // 导入 adds a file's addresses after those listed, each page once however it is written.
    void importAddsWhatTheListLacks()
    {
        QTemporaryDir program;
        FakeBatchWorker worker;
        RecordingDialogs dialogs;
        BatchWindow window(&worker, dialogs, program.filePath(u"config.ini"_s));
        window.setAddresses(u"https://detail.1688.com/offer/1111.html\nhttp://shop.test/offer/1.html"_s);
        const QString path = program.filePath(u"list.txt"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("https://detail.1688.com/offer/2222.html\nhttps://m.1688.com/offer/1111.html?x=1\n"
                   "http://SHOP.test:80/offer/1.html\nhttps://detail.1688.com/offer/2222.html#top\n");
        file.close();
        window.importList(path);
        auto *list = window.findChild<QPlainTextEdit *>(u"addresses"_s);
        const QString merged = u"https://detail.1688.com/offer/1111.html\nhttp://shop.test/offer/1.html\n"
                               u"https://detail.1688.com/offer/2222.html"_s;
        QCOMPARE(list->toPlainText(), merged);
        window.importList(program.filePath(u"missing.txt"_s));
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(list->toPlainText(), merged);
    }

    // 采集本页地址's addresses: only those not listed join, and a batch under
    // way takes them into its rows and its journal, as a list still being read does.
    void collectedAddressesJoinTheListAndARunningBatch()
    {
        QTemporaryDir program;
        QTemporaryDir save;
        const QString a = u"https://detail.1688.com/offer/1111.html"_s;
        const QString b = u"http://shop.test/offer/2.html"_s;
        const QString c = u"https://detail.1688.com/offer/3333.html"_s;
        FakeBatchWorker worker;
        worker.scripts = {{a, {PickEnd::Picked, u"杯子"_s, 0, true}}};
        RecordingDialogs dialogs;
        BatchWindow window(&worker, dialogs, program.filePath(u"config.ini"_s));
        window.runner().setDelay([] { return 0; });
        window.setAddresses(u"https://m.1688.com/offer/1111.html?x=1"_s);
        QCOMPARE(window.addCollected({a, b}, u"共1页，找到2个宝贝地址"_s), 1);
        auto *status = window.findChild<QLabel *>(u"status"_s);
        QCOMPARE(status->text(), u"共1页，找到2个宝贝地址, 其中 1 个是新的, 已加入列表"_s);
        window.setSaveFolder(save.path());
        window.startClicked();
        QTRY_VERIFY(worker.holding());
        QCOMPARE(window.addCollected({b, c}, u"共1页，找到2个宝贝地址"_s), 1);
        QTRY_COMPARE(window.model().rowCount(), 3);
        QCOMPARE(window.model().cellText(2, BatchTableModel::Address), c);
        worker.finishHeld();
        QTRY_COMPARE(window.runner().status(), BatchRunner::Status::Finished);
        QVERIFY(worker.picks.contains(c));
        BatchJournal journal(save.path());
        QCOMPARE(journal.load().size(), 3);
        auto *list = window.findChild<QPlainTextEdit *>(u"addresses"_s);
        QCOMPARE(list->toPlainText(), u"https://m.1688.com/offer/1111.html?x=1\n"_s + b + u"\n"_s + c);
    }

    // The window says what a list dropped, gives every unfinished row its
    // reason in a column, and offers 重试失败 only when something failed.
    void droppedLinesAndReasonsAreShown()
    {
        QTemporaryDir program;
        QTemporaryDir save;
        FakeBatchWorker worker;
        const QString good = u"https://detail.1688.com/offer/123456.html"_s;
        const QString other = u"https://detail.1688.com/offer/654321.html"_s;
        worker.scripts = {{good, {PickEnd::Picked, u"杯子"_s}}, {other, {PickEnd::Refused, {}}}};
        RecordingDialogs dialogs;
        BatchWindow window(&worker, dialogs, program.filePath(u"config.ini"_s));
        window.runner().setDelay([] { return 0; });
        QPushButton *retry = nullptr;
        for (QPushButton *button : window.findChildren<QPushButton *>())
            if (button->text() == u"重试失败"_s)
                retry = button;
        QVERIFY(retry);
        window.setAddresses(good + u"\n你好\n"_s + good + u"\n"_s);
        auto *dropped = window.findChild<QLabel *>(u"dropped"_s);
        QTRY_COMPARE(dropped->text(), u"忽略1行（不是宝贝地址）：你好, 合并1个重复"_s);
        window.setSaveFolder(save.path());
        window.startClicked();
        QTRY_COMPARE(window.runner().status(), BatchRunner::Status::Finished);
        QVERIFY(!retry->isEnabled());
        QCOMPARE(window.model().cellText(0, BatchTableModel::Reason), QString());

        window.setAddresses(other);
        window.startClicked();
        QTRY_COMPARE(window.runner().status(), BatchRunner::Status::Finished);
        QCOMPARE(window.model().cellText(1, BatchTableModel::State), u"不是宝贝页"_s);
        QCOMPARE(window.model().cellText(1, BatchTableModel::Reason), u"no"_s);
        QVERIFY(retry->isEnabled());
    }

private:
    // PICTORRA_BATCH_SHOTS=DIR keeps pictures of the window for a look by eye.
    static void grabIfAsked(QWidget &window, const QString &name)
    {
        const QString folder = qEnvironmentVariable("PICTORRA_BATCH_SHOTS");
        if (!folder.isEmpty())
            window.grab().save(folder + u"/batch-"_s + name + u".png"_s);
    }
};

PICTORRA_TEST_MAIN(BatchWindowTest)
#include "tst_BatchWindow.moc"
