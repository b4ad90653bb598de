#include "appearance/TrayIcon.h"
#include "support/TestMain.h"

#include <QMenu>

namespace {
bool shownAtNormalSize(const QWidget &window)
{
    return window.isVisible() && !(window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized));
}
}

class TestTrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void showsTheProgramIconAndName()
    {
        QWidget window;
        QMenu menu;
        TrayIcon tray(&window, &menu);
        QCOMPARE(tray.systemTrayIcon()->toolTip(), QStringLiteral("Pictorra"));
        QVERIFY(!tray.systemTrayIcon()->icon().pixmap(16, 16).isNull());
        QAction *item = menu.addAction(QStringLiteral("退出"));
        TrayIcon withItem(&window, &menu);
        const QList<QAction *> items = withItem.systemTrayIcon()->contextMenu()->actions();
        QCOMPARE(items.first()->text(), QStringLiteral("显示/隐藏"));
        QCOMPARE(items.last(), item);
        window.show();
        items.first()->trigger();
        QVERIFY(!window.isVisible());
        items.first()->trigger();
        QVERIFY(window.isVisible());
    }

    void leftClickBringsBackAHiddenWindowAtNormalSize()
    {
        QWidget window;
        QMenu menu;
        TrayIcon tray(&window, &menu);
        window.showMaximized();
        window.showMinimized();
        window.hide();
        tray.onActivated(QSystemTrayIcon::Trigger);
        QVERIFY(shownAtNormalSize(window));

        window.showMinimized();  // no tray to hide into: minimized but not hidden
        tray.onActivated(QSystemTrayIcon::Trigger);
        QVERIFY(shownAtNormalSize(window));
    }

    void leftClickLeavesAShownWindowAlone()
    {
        QWidget window;
        QMenu menu;
        TrayIcon tray(&window, &menu);
        window.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        tray.onActivated(QSystemTrayIcon::Trigger);
        QVERIFY(window.isMaximized());
        QVERIFY(window.isVisible());
    }

    void otherButtonsLeaveAHiddenWindowHidden()
    {
        QWidget window;
        QMenu menu;
        TrayIcon tray(&window, &menu);
        for (auto reason : {QSystemTrayIcon::Context, QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick,
                            QSystemTrayIcon::Unknown})
            tray.onActivated(reason);
        QVERIFY(!window.isVisible());
    }

    void windowGoneFirstIsHarmless()
    {
        QMenu menu;
        auto *window = new QWidget;
        TrayIcon tray(window, &menu);
        delete window;
        tray.onActivated(QSystemTrayIcon::Trigger);
    }

    void contextMenuItemsRunTheirCommands()
    {
        QWidget window;
        QMenu file;
        QStringList ran;
        for (const QString &text : {QStringLiteral("新建"), QStringLiteral("管理"), QStringLiteral("退出"),
                                    QStringLiteral("版本")})
            connect(file.addAction(text), &QAction::triggered, this, [&ran, text] { ran << text; });
        TrayIcon tray(&window, &file);
        window.showMinimized();
        window.hide();
        for (QAction *action : tray.systemTrayIcon()->contextMenu()->actions())
            action->trigger();
        QCOMPARE(ran.join(QLatin1Char(' ')), QStringLiteral("新建 管理 退出 版本"));
    }
};

PICTORRA_TEST_MAIN(TestTrayIcon)
#include "tst_tray_icon.moc"
