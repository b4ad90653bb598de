// One deadline bounds a whole pick: a description file or a page read that
// never answers ends the pick soon after it, with what the page had.
#include "download/ResultJson.h"
#include "picking/Pick.h"
#include "picking/designs/PageDesigns.h"
#include "support/FakeBrowserPage.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// A page whose description file never comes, and whose document reads stop
// answering from the `hangFromRead`-th on (never, when 0).
class StuckPage : public FakeBrowserPage
{
public:
    int hangFromRead = 0;
    int reads = 0;

    void readDocument(const QStringList &divIds, QObject *context, SnapshotCallback done) override
    {
        ++reads;
        if (hangFromRead == 0 || reads < hangFromRead)
            FakeBrowserPage::readDocument(divIds, context, std::move(done));
    }
    void fetchFile(const QUrl &, int, qint64, QObject *, FetchCallback) override {}
};

PageFacts contextFacts()
{
    QFile file(QStringLiteral(PICTORRA_FIXTURES "/context-page.html"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString page = QString::fromUtf8(file.readAll()).replace(QLatin1String("HOST"), QLatin1String("h"));
    PageFacts facts;
    facts.hasDocument = true;
    for (qsizetype at = 0; (at = page.indexOf(QLatin1String("<script>"), at)) >= 0;) {
        const qsizetype end = page.indexOf(QLatin1String("</script>"), at);
        facts.scripts << page.mid(at + 8, end - at - 8);
        at = end;
    }
    return facts;
}
}

class PickDeadlineTest : public QObject
{
    Q_OBJECT

    PageDesigns designs;
    Intervals intervals = Intervals::scaled(0.01);  // 600 ms to the deadline, 100 ms of grace

    PickOutcome pick(StuckPage &page, const QString &address, qint64 *tookMs)
    {
        Pick pick(&page, designs, intervals);
        QSignalSpy ended(&pick, &Pick::ended);
        QElapsedTimer clock;
        clock.start();
        pick.start(address);
        [&] { QTRY_VERIFY_WITH_TIMEOUT(!ended.isEmpty(), 10000); }();
        *tookMs = clock.elapsed();
        return ended.isEmpty() ? PickOutcome() : qvariant_cast<PickOutcome>(ended.first().first());
    }

private Q_SLOTS:
    void init() { intervals.stepMs = 100000; }  // a scrolled page never reaches its end

    void aDescriptionThatNeverComesIsCutShort()
    {
        StuckPage page;
        page.facts = contextFacts();
        page.document.hasDocument = true;
        qint64 took = 0;
        const PickOutcome outcome = pick(page, QStringLiteral("http://h/offer/1001.html"), &took);
        QVERIFY2(outcome.picked(), qPrintable(outcome.message));
        QVERIFY(took < 5000);
        QVERIFY(outcome.stoppedAtDeadline);
        QVERIFY(outcome.result.descriptionMissing);
        QVERIFY(!outcome.result.addresses(MediaKind::Main).isEmpty());
        QCOMPARE(outcome.result.note, Pick::DeadlineNote);
        const QJsonObject line = QJsonDocument::fromJson(ResultJson::line(outcome.result)).object();
        QCOMPARE(line.value(QStringLiteral("cutShort")).toBool(), true);
        QCOMPARE(line.value(QStringLiteral("note")).toString(), Pick::DeadlineNote);
    }

    void aPageThatStopsAnsweringEndsThePick_data()
    {
        QTest::addColumn<int>("hangFromRead");
        QTest::newRow("while it is judged") << 1;
        QTest::newRow("when the scrolled page is read") << 2;
    }

    void aPageThatStopsAnsweringEndsThePick()
    {
        QFETCH(int, hangFromRead);
        StuckPage page;
        page.hangFromRead = hangFromRead;
        page.document.hasDocument = true;
        page.document.divs = {{QStringLiteral("mod-detail"), QString()},
                              {QStringLiteral("desc-lazyload-container"), QString()}};
        page.scrollHeight = 400000;
        qint64 took = 0;
        const PickOutcome outcome = pick(page, QStringLiteral("http://shop.test/item.html"), &took);
        QCOMPARE(int(outcome.kind), int(PickOutcome::Kind::CouldNotLoad));
        QCOMPARE(outcome.message, Pick::CutShortMessage);
        QVERIFY(took < 5000);
    }
};

PICTORRA_TEST_MAIN(PickDeadlineTest)
#include "tst_pick_deadline.moc"
