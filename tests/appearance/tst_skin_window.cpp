#include "appearance/SkinManager.h"
#include "appearance/SkinSettings.h"
#include "appearance/skin.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

namespace {
QString sheetFor(const QString &name)
{
    return QStringLiteral("/* %1 */ QListWidget { color: #102030; }").arg(name);
}

// A program folder with a skins folder holding the named, valid skins.
struct Program
{
    QTemporaryDir dir;
    SkinSettings settings{dir.path()};
    SkinManager skins{dir.path()};
    RecordingDialogs dialogs;

    explicit Program(const QStringList &names = {})
    {
        if (!names.isEmpty())
            QDir(dir.path()).mkdir(SkinManager::FolderName);
        for (const QString &name : names)
            addFile(name, sheetFor(name).toUtf8());
    }
    void addFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(skins.skinsFolder() + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void writeConfig(const QByteArray &bytes)
    {
        QFile file(settings.fileName());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray config() const
    {
        QFile file(settings.fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }
};

void clickRow(skin &window, int row)
{
    QListWidget *list = window.SkinFile();
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void open(skin &window)
{
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}
}

class TestSkinWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qApp->setStyleSheet(QString()); }

    void windowLooksAsDesigned()
    {
        Program program({QStringLiteral("b.qss"), QStringLiteral("A.qss"), QStringLiteral(".hidden.qss")});
        QDir(program.skins.skinsFolder()).mkdir(QStringLiteral("folder"));
        skin window(program.settings, program.skins, program.dialogs);
        open(window);
        QCOMPARE(window.windowTitle(), QStringLiteral("换肤"));
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(window.size(), QSize(314, 406));
        QCOMPARE(window.SkinFile()->geometry(), window.rect());
        QListWidget *list = window.SkinFile();
        QCOMPARE(list->count(), 2);  // files only, hidden ones left out
        // The skins' names, not their files'; the rows stay where they are whatever skin comes.
        QCOMPARE(list->item(0)->text(), QStringLiteral("A"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("b"));
        const QRect row = list->visualItemRect(list->item(1));
        qApp->setStyleSheet(QStringLiteral("QListWidget#SkinFile::item { padding: 9px 10px; border-bottom: 3px solid red; }"));
        QCOMPARE(list->visualItemRect(list->item(1)), row);
        qApp->setStyleSheet(QString());
    }

    // Data moved to the per-user folder: the skins installed with the program
    // are still offered, the user's own first.
    void shippedSkinsAreOfferedBesideTheUsersOwn()
    {
        Program user({QStringLiteral("b.qss")});
        Program installed({QStringLiteral("a.qss"), QStringLiteral("b.qss")});
        const SkinManager both(user.dir.path(), installed.dir.path());
        QCOMPARE(both.names(), QStringList({QStringLiteral("a.qss"), QStringLiteral("b.qss")}));
        QCOMPARE(both.pathOf(QStringLiteral("b.qss")), user.skins.skinsFolder() + QStringLiteral("/b.qss"));
        user.writeConfig("[config]\nskin=a.qss\nskinid=0\n");
        QVERIFY(both.applyRemembered(user.settings));
        QCOMPARE(qApp->styleSheet(), sheetFor(QStringLiteral("a.qss")));
        skin window(user.settings, both, user.dialogs);
        open(window);
        QCOMPARE(window.SkinFile()->count(), 2);
    }

    void clickStoresPositionAndNameAndApplies()
    {
        Program program({QStringLiteral("a.qss"), QStringLiteral("b.qss"), QStringLiteral("c.qss"),
                         QStringLiteral("d.qss")});
        skin window(program.settings, program.skins, program.dialogs);
        open(window);
        clickRow(window, 2);
        QCOMPARE(program.settings.skinId(), 2);
        QCOMPARE(program.settings.skin(), QStringLiteral("c.qss"));
        QCOMPARE(qApp->styleSheet(), sheetFor(QStringLiteral("c.qss")));
        QVERIFY(window.isVisible());
        QVERIFY(program.dialogs.messages.isEmpty());

        // The same entry again: nothing changes row, yet the click counts.
        qApp->setStyleSheet(QString());
        QVERIFY(QFile::remove(program.settings.fileName()));
        clickRow(window, 2);
        QCOMPARE(program.settings.skinId(), 2);
        QCOMPARE(program.settings.skin(), QStringLiteral("c.qss"));
        QCOMPARE(qApp->styleSheet(), sheetFor(QStringLiteral("c.qss")));

        // Moving the selection with the keyboard chooses as well.
        QTest::keyClick(window.SkinFile(), Qt::Key_Down);
        QCOMPARE(program.settings.skinId(), 3);
        QCOMPARE(qApp->styleSheet(), sheetFor(QStringLiteral("d.qss")));
    }

    void startupAppliesByNameWindowSelectsByPosition()
    {
        Program program({QStringLiteral("b.qss"), QStringLiteral("c.qss"), QStringLiteral("d.qss")});
        skin window(program.settings, program.skins, program.dialogs);
        open(window);
        clickRow(window, 1);
        window.close();
        QCOMPARE(program.settings.skin(), QStringLiteral("c.qss"));

        program.addFile(QStringLiteral("a.qss"), sheetFor(QStringLiteral("a.qss")).toUtf8());
        qApp->setStyleSheet(QString());
        QVERIFY(program.skins.applyRemembered(program.settings));
        QCOMPARE(qApp->styleSheet(), sheetFor(QStringLiteral("c.qss")));

        // Opening the window again selects position 1, now another file, and stores it.
        open(window);
        QCOMPARE(window.SkinFile()->selectedItems().value(0), window.SkinFile()->item(1));
        QCOMPARE(window.SkinFile()->item(1)->text(), QStringLiteral("b"));
        QCOMPARE(qApp->styleSheet(), sheetFor(QStringLiteral("b.qss")));
        QCOMPARE(program.settings.skin(), QStringLiteral("b.qss"));
        QCOMPARE(program.settings.skinId(), 1);
    }

    void missingFolderIsCreatedAndNothingApplied()
    {
        Program program;
        QVERIFY(!QFileInfo::exists(program.skins.skinsFolder()));
        skin window(program.settings, program.skins, program.dialogs);
        open(window);
        QVERIFY(QFileInfo(program.skins.skinsFolder()).isDir());
        QCOMPARE(window.SkinFile()->count(), 0);
        QCOMPARE(qApp->styleSheet(), QString());
        QVERIFY(!QFile::exists(program.settings.fileName()));
    }

    void storedPositionOutsideTheListSelectsNothing_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::newRow("no file") << QByteArray();
        QTest::newRow("key missing") << QByteArray("[config]\nskin=a.qss\n");
        QTest::newRow("not a number") << QByteArray("[config]\nskin=a.qss\nskinid=two\n");
        QTest::newRow("negative") << QByteArray("[config]\nskin=a.qss\nskinid=-1\n");
        QTest::newRow("one past the end") << QByteArray("[config]\nskin=a.qss\nskinid=3\n");
        QTest::newRow("far out") << QByteArray("[config]\nskin=a.qss\nskinid=4000000000\n");
    }
    void storedPositionOutsideTheListSelectsNothing()
    {
        QFETCH(QByteArray, config);
        Program program({QStringLiteral("a.qss"), QStringLiteral("b.qss"), QStringLiteral("c.qss")});
        if (!config.isEmpty())
            program.writeConfig(config);
        const QByteArray before = program.config();
        skin window(program.settings, program.skins, program.dialogs);
        open(window);
        QVERIFY(window.SkinFile()->selectedItems().isEmpty());
        QCOMPARE(qApp->styleSheet(), QString());
        QCOMPARE(program.config(), before);
    }

    void storedPositionIsSelectedAndWrittenAgain()
    {
        Program program({QStringLiteral("a.qss"), QStringLiteral("b.qss")});
        program.writeConfig("[config]\nskin=gone.qss\nskinid= 1\n");
        skin window(program.settings, program.skins, program.dialogs);
        open(window);
        QCOMPARE(window.SkinFile()->selectedItems().value(0), window.SkinFile()->item(1));
        QCOMPARE(qApp->styleSheet(), sheetFor(QStringLiteral("b.qss")));
        QCOMPARE(program.settings.skin(), QStringLiteral("b.qss"));
        QVERIFY(program.config().contains("skinid=1\n"));
    }

    void sheetThatIsNoStyleSheetLeavesTheDefaultLook_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("usable");
        QTest::newRow("valid") << QByteArray("QWidget { color: red; }") << true;
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBFQWidget { color: red; }") << true;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("unclosed block") << QByteArray("QWidget { color: red; ") << false;
        QTest::newRow("declarations only") << QByteArray("color: red;") << false;
        QTest::newRow("plain text") << QByteArray("皮肤说明") << false;
        QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << false;
        QTest::newRow("not utf-8") << QByteArray("QWidget { color: red; } /* \xc6\xa4\xb7\xf4 */") << false;
    }
    void sheetThatIsNoStyleSheetLeavesTheDefaultLook()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, usable);
        Program program({QStringLiteral("good.qss")});
        program.addFile(QStringLiteral("x.qss"), bytes);
        QVERIFY(program.skins.apply(QStringLiteral("good.qss")));
        QCOMPARE(program.skins.apply(QStringLiteral("x.qss")), usable);
        QCOMPARE(qApp->styleSheet().isEmpty(), !usable || bytes.isEmpty());
        QWidget scratch;
        scratch.ensurePolished();  // no parse warning is left over for a later window

        // Start-up with that skin stored behaves the same.
        qApp->setStyleSheet(QString());
        QVERIFY(program.settings.store(QStringLiteral("x.qss"), 1));
        QCOMPARE(program.skins.applyRemembered(program.settings), usable);
    }

    void startupWithNothingToApplyKeepsTheLook_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::newRow("no config.ini") << QByteArray();
        QTest::newRow("no skin key") << QByteArray("[config]\nskinid=0\n");
        QTest::newRow("file gone") << QByteArray("[config]\nskin=gone.qss\n");
        QTest::newRow("folder named") << QByteArray("[config]\nskin=sub\n");
    }
    void startupWithNothingToApplyKeepsTheLook()
    {
        QFETCH(QByteArray, config);
        Program program({QStringLiteral("a.qss")});
        QDir(program.skins.skinsFolder()).mkdir(QStringLiteral("sub"));
        if (!config.isEmpty())
            program.writeConfig(config);
        QVERIFY(!program.skins.applyRemembered(program.settings));
        QCOMPARE(qApp->styleSheet(), QString());
    }

    void choiceThatCannotBeStoredSaysSo()
    {
        Program program({QStringLiteral("a.qss"), QStringLiteral("b.qss")});
        QVERIFY(QDir(program.dir.path()).mkdir(QStringLiteral("config.ini")));
        skin window(program.settings, program.skins, program.dialogs);
        open(window);
        QVERIFY(program.dialogs.messages.isEmpty());
        clickRow(window, 1);
        QCOMPARE(qApp->styleSheet(), sheetFor(QStringLiteral("b.qss")));
        QCOMPARE(program.dialogs.messages.size(), 1);
        QCOMPARE(program.dialogs.messages.first().text, SkinSettings::storeFailedMessage());
        QVERIFY(window.isVisible());
    }
};

PICTORRA_TEST_MAIN(TestSkinWindow)
#include "tst_skin_window.moc"
