// The Pick command's bookkeeping on stand-in browsers.
#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "main_window/PickCommand.h"
#include "support/FakeBrowserPage.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QTemporaryDir>

#include <QListWidget>
#include <QPushButton>

#include <memory>

class PickCommandTest : public QObject
{
    Q_OBJECT

    RecordingDialogs dialogs;
    QTemporaryDir programFolder;
    std::unique_ptr<MainForm> window;

    FakeBrowserPage *fake(int n) { return static_cast<FakeBrowserPage *>(window->tabs().browser(n)); }

private Q_SLOTS:
    void init()
    {
        dialogs = RecordingDialogs();
        MainForm::Services services = testServices(dialogs, programFolder.path(), fakeBrowsers());
        services.intervals = Intervals::scaled(0.01);
        window = std::make_unique<MainForm>(services);
    }
    void cleanup() { window.reset(); }

    void aPageWithoutBodyIsNoProductPage()
    {
        fake(0)->scrollHeight = std::nullopt;
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        window->addressStrip().setAddress(QStringLiteral("http://shop.test/empty"));
        window->addressStrip().pick_B->click();
        QVERIFY(ended.wait(5000));
        QCOMPARE(dialogs.messages.last().text, QStringLiteral("不是阿里巴巴宝贝地址"));
        QVERIFY(!window->tabs().tab(0)->isPicking());
        QCOMPARE(window->pickCommand().runningPicks(), 0);
    }

    void statusRowsFollowTheList()
    {
        QListWidget *list = window->tabs().mesg(0);
        list->addItem(QStringLiteral("older line"));
        fake(0)->document.hasDocument = true;
        fake(0)->document.divs = {{QStringLiteral("mod-detail"), QString()},
                                  {QStringLiteral("desc-lazyload-container"), QString()}};
        fake(0)->scrollHeight = 100;
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        window->addressStrip().pick_B->click();
        // The press writes a new last row; the ticks and the end write row 0.
        QCOMPARE(list->item(1)->text(), PickCommand::PickStatus(0));
        QVERIFY(ended.wait(5000));
        QCOMPARE(list->item(0)->text(), PickCommand::CompletedLine);
        QCOMPARE(fake(0)->written.first(), QStringLiteral("<html><head><title>Pick:</title></head><body>"));
        QVERIFY(window->tabs().tab(0)->isPicked());
        QCOMPARE(window->pickCommand().runningPicks(), 0);
    }

    void heightReadsThatLagOrFailNeitherStopTheClockNorEndThePick()
    {
        MainForm::Services services = testServices(dialogs, programFolder.path(), fakeBrowsers());
        services.intervals = Intervals::scaled(0.01);
        services.intervals.stepMs = 200;  // the distance stays far from the page's end
        services.intervals.pickDeadlineMs = 60000;
        window = std::make_unique<MainForm>(services);
        fake(0)->document.hasDocument = true;
        fake(0)->document.divs = {{QStringLiteral("mod-detail"), QString()},
                                  {QStringLiteral("desc-lazyload-container"), QString()}};
        fake(0)->scrollHeight = 400000;
        QSignalSpy ended(&window->pickCommand(), &PickCommand::pickEnded);
        QSignalSpy status(&window->pickCommand(), &PickCommand::statusChanged);
        window->addressStrip().pick_B->click();
        QTRY_VERIFY(window->tabs().tab(0)->isPicked());
        // A failed read is no height 0: the pick goes on.
        fake(0)->scrollHeight = std::nullopt;
        QTest::qWait(300);
        QVERIFY(ended.isEmpty());
        // The seconds run on while reads are pending.
        fake(0)->scrollHeight = 400000;
        fake(0)->heightDelayMs = 100;  // ten ticks
        status.clear();
        const int readsBefore = fake(0)->heightReads;
        QTest::qWait(600);
        QVERIFY(ended.isEmpty());
        QVERIFY(status.count() > 2 * (fake(0)->heightReads - readsBefore));
        fake(0)->heightDelayMs = 0;
        fake(0)->scrollHeight = 10;
        QVERIFY(ended.wait(5000));
        QCOMPARE(ended.first().at(1).toBool(), true);
    }
};

PICTORRA_TEST_MAIN(PickCommandTest)
#include "tst_pick_command.moc"
