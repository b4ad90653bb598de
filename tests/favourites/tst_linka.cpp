#include "favourites/linka.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

class tst_linka : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    RecordingDialogs m_dialogs;
    QStringList m_opened;
    QPointer<linka> m_window;

    QString folder() const { return m_dir.filePath(u"likepage"_s); }
    QString pathOf(const QString &name) const { return folder() + u"/"_s + name; }

    void add(const QString &name, const QByteArray &address = "http://a/")
    {
        QFile file(pathOf(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Fai.link]\r\n" + address + "\r\n");
    }
    linka *open()
    {
        m_window = new linka(folder(), m_dialogs, [this](const QString &path) { m_opened << path; });
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window))
            qWarning("favourites window not exposed");
        return m_window;
    }
    QListWidget *list() const { return m_window->findChild<QListWidget *>(u"File1"_s); }
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row)
            names << list()->item(row)->text();
        return names;
    }
    void click(int index) { m_window->findChild<QMenuBar *>()->actions().at(index)->trigger(); }
    bool closed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return m_window.isNull();
    }

private slots:
    void init()
    {
        QDir(folder()).removeRecursively();
        QVERIFY(QDir().mkpath(folder()));
        m_dialogs = RecordingDialogs();
        m_opened.clear();
    }
    void cleanup() { delete m_window; }

    void looks_like_the_favourites_window()
    {
        open();
        QCOMPARE(m_window->windowTitle(), u"收藏夹"_s);
        QVERIFY(m_window->windowFlags().testFlag(Qt::Tool));
        QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!m_window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QStringList captions;
        for (QAction *item : m_window->findChild<QMenuBar *>()->actions())
            captions << item->text();
        QCOMPARE(captions, QStringList({u"打开"_s, u"删除"_s, u"修改"_s, u"设为主页"_s}));
        QCOMPARE(list()->size(), QSize(313, 198));
        const QPoint offCentre = m_window->frameGeometry().center()
                                 - m_window->screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 2, "not centred on the screen");
    }

    void list_fills_the_client_area()
    {
        open();
        const int top = m_window->findChild<QMenuBar *>()->geometry().bottom() + 1;
        for (const QSize size : {QSize(600, 450), QSize(220, 160), QSize(500, 140)}) {
            m_window->resize(size);
            QCOMPARE(list()->geometry(), QRect(0, top, size.width(), size.height() - top));
        }
    }

    void load_creates_the_folder_and_selects_the_first_entry()
    {
        QVERIFY(QDir(folder()).removeRecursively());
        open();
        QVERIFY(QFileInfo(folder()).isDir());
        QCOMPARE(list()->count(), 0);
        QCOMPARE(m_window->selectedFavourite(), QString());
        click(1); // delete with nothing selected fails without a word
        QVERIFY(m_dialogs.messages.isEmpty());
        delete m_window;

        add(u"b.link"_s);
        add(u"主页.LINK"_s);
        add(u"a.link"_s);
        open();
        QCOMPARE(listed(), QStringList({u"a.link"_s, u"b.link"_s, u"主页.LINK"_s}));
        QCOMPARE(m_window->selectedFavourite(), pathOf(u"a.link"_s));
        list()->setCurrentRow(2);
        QCOMPARE(m_window->selectedFavourite(), pathOf(u"主页.LINK"_s));
    }

    void menu_open_keeps_the_window_and_sees_new_files()
    {
        add(u"a.link"_s);
        add(u"b.link"_s);
        open();
        list()->setCurrentRow(1);
        add(u"c.link"_s);
        click(0);
        QCOMPARE(m_opened, QStringList{pathOf(u"b.link"_s)});
        QCOMPARE(listed(), QStringList({u"a.link"_s, u"b.link"_s, u"c.link"_s}));
        QCOMPARE(m_window->selectedFavourite(), pathOf(u"b.link"_s));
        QVERIFY(!closed());
    }

    void double_click_opens_and_closes()
    {
        add(u"a.link"_s);
        add(u"女装.link"_s);
        open();
        const QPoint at = list()->visualItemRect(list()->item(1)).center();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(m_opened, QStringList{pathOf(u"女装.link"_s)});
        QVERIFY(closed());
    }

    void delete_leaves_nothing_selected()
    {
        add(u"a.link"_s);
        add(u"b.link"_s);
        open();
        list()->setCurrentRow(1);
        click(1);
        QVERIFY(!QFile::exists(pathOf(u"b.link"_s)));
        QCOMPARE(listed(), QStringList{u"a.link"_s});
        QCOMPARE(list()->selectedItems().size(), 0);
        // The list taking the focus again makes a row current, not chosen.
        list()->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        click(1);
        QCOMPARE(listed(), QStringList{u"a.link"_s});
    }

    void rename_offers_the_name_and_keeps_the_extension()
    {
        add(u"a.link"_s, "http://a/");
        add(u"b.link"_s);
        open();
        m_dialogs.inputAnswer = u"b"_s;
        click(2);
        QCOMPARE(m_dialogs.prompts, QStringList{u"请输入新名称。|a"_s});
        QCOMPARE(listed(), QStringList({u"b.link"_s, u"b.link#"_s}));
        QCOMPARE(m_window->selectedFavourite(), pathOf(u"b.link#"_s));

        m_dialogs.inputAnswer.reset();
        click(2);
        QCOMPARE(listed(), QStringList({u"b.link"_s, u"b.link#"_s}));

        list()->setCurrentRow(0);
        m_dialogs.inputAnswer = u"女装.LINK"_s;  // typed whole: no second extension
        click(2);
        QCOMPARE(listed(), QStringList({u"b.link#"_s, u"女装.LINK"_s}));
    }

    void set_as_home_replaces_the_home_page_and_closes()
    {
        add(u"a.link"_s, "http://a/");
        add(u"主页.LINK"_s, "http://old/");
        open();
        click(3);
        QCOMPARE(m_dialogs.messages.size(), 1);
        QCOMPARE(m_dialogs.messages[0].text, u"已经设置为主页!"_s);
        QCOMPARE(m_dialogs.messages[0].title, QString());
        QVERIFY(closed());
        QFile home(pathOf(u"主页.LINK"_s));
        QVERIFY(home.open(QIODevice::ReadOnly));
        QCOMPARE(home.readAll(), QByteArray("[Fai.link]\r\nhttp://a/\r\n"));
        QVERIFY(QFile::exists(pathOf(u"a.link"_s)));
    }

    void set_as_home_on_the_home_page_itself_changes_nothing()
    {
        add(u"主页.LINK"_s, "http://old/");
        open();
        click(3);
        QVERIFY(m_dialogs.messages.isEmpty());
        QVERIFY(!closed());
        QCOMPARE(listed(), QStringList{u"主页.LINK"_s});
    }
};

PICTORRA_TEST_MAIN(tst_linka)
#include "tst_linka.moc"
