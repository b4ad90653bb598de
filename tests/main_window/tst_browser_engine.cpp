// The tab set and the browser seam on the real engine, against pages served
// on the loopback interface.
#include "main_window/MainForm.h"
#include "platform/BrowserProfile.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WebEnginePage.h"
#include "support/LoopbackServer.h"
#include "support/RecordingDialogs.h"
#include "support/TestMain.h"
#include "support/TestServices.h"

#include <QTemporaryDir>

#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>

namespace {
QByteArray page(const char *title, const char *body)
{
    return QByteArray("<!DOCTYPE html><html><head><title>") + title + "</title></head><body>" + body + "</body></html>";
}
}

class BrowserEngineTest : public QObject
{
    Q_OBJECT

    LoopbackServer server;
    RecordingDialogs dialogs;
    QTemporaryDir programFolder;
    QWebEngineProfile *profile = nullptr;
    std::unique_ptr<MainForm> window;

    WebEngineBrowser *engine(int n) { return static_cast<WebEngineBrowser *>(window->tabs().browser(n)); }

    template<typename T>
    T wait(std::function<void(std::function<void(T)>)> start)
    {
        std::optional<T> result;
        start([&result](T value) { result = value; });
        [&] { QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 20000); }();
        return result.value_or(T{});
    }

private Q_SLOTS:
    void initTestCase()
    {
        server.serve(QStringLiteral("/start"),
                     page("Start page", "<a id='a' href='/second' target='_blank' style='display:block;height:300px'>open</a>"));
        server.serve(QStringLiteral("/second"), page("Second: the page", "<p>second</p>"));
        server.serve(QStringLiteral("/gallery"),
                     page("Gallery & co",
                          "<div id='mod-detail'><ul><li data-imgs='{\"preview\":\"p.jpg\",\"original\":\"https://h/a.jpg?x=1&y=2\"}'>"
                          "x &amp; y &lt;z&gt;</li></ul></div><div id='other'>no</div>"
                          "<div style='height:3000px' id='desc-lazyload-container'></div>"));
        profile = BrowserProfile::offTheRecord(this);
        const MainForm::Services services = testServices(
            dialogs, programFolder.path(), [this](QWidget *parent) { return new WebEngineBrowser(profile, parent); },
            server.url(QStringLiteral("/start")));
        window = std::make_unique<MainForm>(services);
        window->show();
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Start page"), 20000);
    }

    void cleanupTestCase() { window.reset(); }

    void aLinkThatOpensANewWindowOpensATab()
    {
        // A click by the user: windows that a script opens on its own are not opened.
        QWebEngineView *view = QWebEngineView::forPage(engine(0)->page());
        QVERIFY(view && view->focusProxy());
        // A renderer that has not drawn its first frame yet drops the click: try again.
        for (int attempt = 0; attempt < 5; ++attempt) {
            QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(20, 20));
            if (QTest::qWaitFor([&] { return window->tabs().count() >= 2; }, 4000))
                break;
        }
        QCOMPARE(window->tabs().count(), 2);
        QTRY_COMPARE_WITH_TIMEOUT(window->windowTitle(), QStringLiteral("Second: the page"), 20000);
        QCOMPARE(window->tabs().captionAt(2), QStringLiteral("Secondthepage"));
        QCOMPARE(window->tabs().book().CurIndex, 1);
        QVERIFY(engine(1)->LocationURL().endsWith(QStringLiteral("/second")));
        QCOMPARE(window->tabs().captionAt(1), QStringLiteral("Startpage"));
    }

    void theSnapshotShowsAttributeValuesAsTheyAre()
    {
        WebEngineBrowser *browser = engine(0);
        browser->Navigate(server.url(QStringLiteral("/gallery")));
        QCOMPARE(browser->ReadyState(), int(BrowserPage::ReadyLoading));
        QTRY_COMPARE_WITH_TIMEOUT(browser->ReadyState(), int(BrowserPage::ReadyComplete), 20000);
        const DocumentSnapshot snapshot = wait<DocumentSnapshot>([&](auto done) {
            browser->readDocument({QStringLiteral("mod-detail"), QStringLiteral("desc-lazyload-container")}, this, done);
        });
        QVERIFY(snapshot.hasDocument);
        QCOMPARE(snapshot.title, QStringLiteral("Gallery & co"));
        QCOMPARE(snapshot.divs.size(), 2);
        QCOMPARE(snapshot.divs[0].id, QStringLiteral("mod-detail"));
        QVERIFY2(snapshot.divs[0].html.contains(QStringLiteral("\"original\":\"https://h/a.jpg?x=1&y=2\"")),
                 qPrintable(snapshot.divs[0].html));
        QVERIFY(snapshot.divs[0].html.contains(QStringLiteral("x &amp; y &lt;z&gt;")));
        const auto height = wait<std::optional<double>>([&](auto done) { browser->readScrollHeight(this, done); });
        QVERIFY(height.has_value() && *height > 3000);
    }

    void aWrittenPageRunsNoScriptAndReadsBack()
    {
        WebEngineBrowser *browser = engine(0);
        const QStringList pieces = {
            QStringLiteral("<html><head><title>Pick:abc</title></head><body>"),
            QStringLiteral("<div id=\"mod-detail\"><img src=\"https://h/x&quot;&gt;&lt;script&gt;document.title='owned'&lt;/script&gt;.jpg \">"),
            QStringLiteral("<script>document.title='owned';</script></div></body></html>"),
        };
        const bool written = wait<bool>([&](auto done) { browser->writePage(pieces, this, done); });
        QVERIFY(written);
        QTRY_COMPARE_WITH_TIMEOUT(browser->LocationName(), QStringLiteral("Pick:abc"), 10000);
        QCOMPARE(browser->LocationURL(), QStringLiteral("about:blank"));
        const DocumentSnapshot snapshot = wait<DocumentSnapshot>([&](auto done) {
            browser->readDocument({}, this, done);
        });
        QCOMPARE(snapshot.divs.size(), 1);
        QVERIFY2(snapshot.divs[0].html.contains(
                     QStringLiteral("src=\"https://h/x\"><script>document.title='owned'</script>.jpg \"")),
                 qPrintable(snapshot.divs[0].html));
        QTest::qWait(200);
        QCOMPARE(browser->LocationName(), QStringLiteral("Pick:abc"));
    }
};

PICTORRA_TEST_MAIN(BrowserEngineTest)
#include "tst_browser_engine.moc"
