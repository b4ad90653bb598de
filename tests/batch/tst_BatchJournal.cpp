#include "batch/BatchJournal.h"
#include "support/TestMain.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

BatchRow row(const QString &url, BatchState state, const QString &folder = {})
{
    BatchRow r;
    r.url = url;
    r.state = state;
    r.folder = folder;
    return r;
}

} // namespace

class BatchJournalTest : public QObject
{
    Q_OBJECT
private slots:
    void roundTripKeepsEveryField()
    {
        QTemporaryDir dir;
        BatchRow full = row(u"http://a/1"_s, BatchState::Partial, dir.filePath(u"保温杯"_s));
        full.title = u"保温杯 \"special\""_s;
        full.found[MediaKind::Main] = 5;
        full.found[MediaKind::Sku] = 3;
        full.found[MediaKind::Description] = 12;
        full.found[MediaKind::Video] = 1;
        full.saved = 18;
        full.dropped = 1;
        full.failed = 1;
        full.note = u"描述图3 404"_s;
        full.done = 7; // running figures are not journalled
        BatchJournal journal(dir.path());
        QVERIFY(journal.save({full, row(u"http://a/2"_s, BatchState::NotProduct)}));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{BatchJournal::FileName, BatchJournal::LogFileName}));
        // Rows of a change log are read back over the snapshot.
        full.title = u"保温杯 \"new\""_s;
        QVERIFY(journal.record({full, row(u"http://a/2"_s, BatchState::NotProduct)}, {0}));

        QString error;
        const QList<BatchRow> back = journal.load(&error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(back.size(), 2);
        const BatchRow &r = back[0];
        QCOMPARE(r.url, full.url);
        QCOMPARE(r.title, full.title);
        QCOMPARE(r.state, BatchState::Partial);
        QCOMPARE((QList<int>{r.found[MediaKind::Main], r.found[MediaKind::Sku], r.found[MediaKind::Description], r.found[MediaKind::Video], r.saved, r.dropped, r.failed, r.done}),
                 (QList<int>{5, 3, 12, 1, 18, 1, 1, 0}));
        QCOMPARE(r.folder, full.folder);
        QCOMPARE(r.note, full.note);
        QCOMPARE(back[1].state, BatchState::NotProduct);

        // Moved with its folder, the journal still finds its items; a folder
        // outside the save folder is never handed back.
        QTemporaryDir other;
        QVERIFY(QFile::rename(journal.path(), other.filePath(BatchJournal::FileName)));
        QCOMPARE(BatchJournal(other.path()).load()[0].folder, other.filePath(u"保温杯"_s));
        QFile hostile(journal.path());
        QVERIFY(hostile.open(QIODevice::WriteOnly));
        hostile.write("{\"rows\":[{\"url\":\"http://a/1\",\"state\":\"downloading\",\"folder\":\"../../etc\"},"
                      "{\"url\":\"http://a/2\",\"state\":\"downloading\",\"folder\":\"/tmp/x\"}]}");
        hostile.close();
        const QList<BatchRow> guarded = journal.load();
        QCOMPARE(guarded.size(), 2);
        QVERIFY(guarded[0].folder.isEmpty());
        QCOMPARE(guarded[0].found[MediaKind::Video], 0); // journals from before videos
        QVERIFY(guarded[1].folder.isEmpty());
    }

    void brokenOrMissingJournalsAreReported()
    {
        QTemporaryDir dir;
        BatchJournal journal(dir.path());
        QString error;
        QVERIFY(journal.load(&error).isEmpty());
        QVERIFY(!error.isEmpty());
        QFile torn(journal.path());
        QVERIFY(torn.open(QIODevice::WriteOnly));
        torn.write("{\"rows\":[{\"url\":\"http://a/1\",\"sta");
        torn.close();
        error.clear();
        QVERIFY(journal.load(&error).isEmpty());
        QVERIFY(!error.isEmpty());
        // A folder that cannot hold the journal says so and leaves nothing.
        BatchJournal nowhere(dir.filePath(u"gone/deeper"_s));
        error.clear();
        QVERIFY(!nowhere.save({row(u"http://a/1"_s, BatchState::Waiting)}, &error));
        QVERIFY(!error.isEmpty());
    }

    // Changes go to the log beside the snapshot; a torn last line, or a log
    // of an older snapshot, is ignored; the log is folded in as it grows, and
    // a change costs the same whatever the length of the list.
    void changesAreLoggedAndFolded()
    {
        QTemporaryDir dir;
        QList<BatchRow> rows;
        for (int i = 0; i < 10000; ++i)
            rows << row(u"http://a/%1"_s.arg(i), BatchState::Waiting);
        BatchJournal journal(dir.path());
        QVERIFY(journal.save(rows));
        const qint64 snapshot = journal.bytesWritten();
        for (int i = 0; i < 300; ++i) {
            rows[i].state = BatchState::Done;
            rows[i].folder = dir.filePath(u"item%1"_s.arg(i));
            QVERIFY(journal.record(rows, {i}));
        }
        rows << row(u"http://a/new"_s, BatchState::Waiting);
        QVERIFY(journal.record(rows, {int(rows.size()) - 1}));
        QVERIFY2(journal.bytesWritten() - snapshot < 301 * 400, qPrintable(QString::number(journal.bytesWritten())));
        QList<BatchRow> back = BatchJournal(dir.path()).load();
        QCOMPARE(back.size(), rows.size());
        QCOMPARE(back[299].state, BatchState::Done);
        QCOMPARE(back[299].folder, dir.filePath(u"item299"_s));
        QCOMPARE(back.last().url, u"http://a/new"_s);

        QFile log(dir.filePath(BatchJournal::LogFileName));
        QVERIFY(log.open(QIODevice::Append));
        log.write("{\"i\":300,\"url\":\"http://a/300\",\"state\":\"sav");
        log.close();
        QCOMPARE(BatchJournal(dir.path()).load()[300].state, BatchState::Waiting);

        // Folded into a new snapshot: the old log no longer applies.
        const QByteArray oldLog = FileBytes(log.fileName());
        QList<BatchRow> small{row(u"http://b/1"_s, BatchState::Waiting)};
        small[0].note = QString(400, u'n');
        BatchJournal again(dir.path());
        QVERIFY(again.save(small));
        for (int i = 0; i < 300; ++i) {
            small[0].state = i % 2 ? BatchState::Done : BatchState::Partial;
            QVERIFY(again.record(small, {0}));
        }
        QVERIFY(QFileInfo(log.fileName()).size() < 70 * 1024);
        QVERIFY(log.open(QIODevice::WriteOnly | QIODevice::Truncate) && log.write(oldLog) == oldLog.size());
        log.close();
        back = BatchJournal(dir.path()).load();
        QCOMPARE(back.size(), 1);
        QCOMPARE(back[0].state, BatchState::Done);
    }

    // A resume reads thousands of logged changes, long lines among them, in
    // moments: each line takes the memory it needs, not the largest a line may have.
    void manyAndLongLogLinesAreReplayed()
    {
        QTemporaryDir dir;
        QList<BatchRow> rows;
        QList<int> all;
        for (int i = 0; i < 3000; ++i) {
            rows << row(u"http://a/%1"_s.arg(i), BatchState::NotProduct);
            rows.last().note = QString(200, u'x');
            all << i;
        }
        BatchJournal journal(dir.path());
        QVERIFY(journal.save(rows));
        for (BatchRow &r : rows) {
            r.state = BatchState::Waiting;
            r.note.clear();
        }
        rows[1500].note = QString(100000, u'长'); // far more than one read step
        QVERIFY(journal.record(rows, all));
        QVERIFY(QFileInfo(dir.filePath(BatchJournal::LogFileName)).size() > 300000); // not folded

        QElapsedTimer clock;
        clock.start();
        const QList<BatchRow> back = BatchJournal(dir.path()).load();
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(back.size(), 3000);
        QVERIFY(std::all_of(back.cbegin(), back.cend(), [](const BatchRow &r) { return r.state == BatchState::Waiting; }));
        QCOMPARE(back[1500].note, rows[1500].note);
        QVERIFY(back[2999].note.isEmpty());
    }

    // Others may write to a save folder too: a link or a pipe planted in
    // place of the snapshot or its log is refused with its name, and nothing
    // outside is touched or waited for.
    void linksAndPipesAreRefusedByName()
    {
        QTemporaryDir dir, outside;
        const QString victim = outside.filePath(u"victim"_s);
        QFile(victim).open(QIODevice::WriteOnly);
        const QList<BatchRow> rows{row(u"http://a/1"_s, BatchState::Waiting)};
        for (const QString &name : {BatchJournal::FileName, BatchJournal::LogFileName}) {
            for (int kind = 0; kind < 3; ++kind) {
                QDir(dir.path()).removeRecursively();
                QDir().mkpath(dir.path());
                const QString path = dir.filePath(name);
                if (kind == 0)
                    QVERIFY(QFile::link(victim, path));
                else if (kind == 1)
                    QVERIFY(::link(QFile::encodeName(victim), QFile::encodeName(path)) == 0);
                else
                    QVERIFY(::mkfifo(QFile::encodeName(path), 0600) == 0);
                BatchJournal journal(dir.path());
                QString error;
                QVERIFY(journal.load(&error).isEmpty());
                QVERIFY2(error.contains(path), qPrintable(error));
                error.clear();
                QVERIFY(!journal.save(rows, &error));
                QVERIFY2(error.contains(path), qPrintable(error));
                QCOMPARE(QFileInfo(victim).size(), 0);
            }
        }
    }

    // The snapshot deleted (or replaced) while a batch runs is written again at
    // the next change: a rerun still knows what was saved.
    void aSnapshotDeletedMeanwhileIsWrittenAgain()
    {
        QTemporaryDir dir;
        QList<BatchRow> rows{row(u"http://a/1"_s, BatchState::Waiting), row(u"http://a/2"_s, BatchState::Waiting)};
        BatchJournal journal(dir.path());
        QVERIFY(journal.save(rows));
        rows[0].state = BatchState::Done;
        QVERIFY(journal.record(rows, {0}));
        QVERIFY(QFile::remove(journal.path()));
        rows[1].state = BatchState::Done;
        QVERIFY(journal.record(rows, {1}));
        const QList<BatchRow> back = BatchJournal(dir.path()).load();
        QCOMPARE(back.size(), 2);
        QCOMPARE(back[0].state, BatchState::Done);
        QCOMPARE(back[1].state, BatchState::Done);
    }

    // A log far longer than any we write (a million lines, each adding a row)
    // is read only as far as ours could reach: the start stays quick and small.
    void anOverlongLogIsReadOnlyAsFarAsOursReaches()
    {
        QTemporaryDir dir;
        BatchJournal journal(dir.path());
        QVERIFY(journal.save({row(u"http://a/0"_s, BatchState::Waiting)}));
        QFile log(dir.filePath(BatchJournal::LogFileName));
        QVERIFY(log.open(QIODevice::Append));
        for (int i = 1; i <= 200000; ++i)
            log.write("{\"url\":\"http://a/" + QByteArray::number(i) + "\",\"state\":\"failed\",\"i\":" + QByteArray::number(i) + "}\n");
        log.close();
        const QList<BatchRow> back = journal.load();
        QVERIFY2(back.size() > 1 && back.size() < 10000, qPrintable(QString::number(back.size())));
    }

    void resumeAfterACrash()
    {
        // The journal as a kill -9 left it: one item saved, one half downloaded,
        // one being picked, one refused; the user pastes the list again plus one.
        const QList<BatchRow> journal{
            row(u"http://a/1"_s, BatchState::Done, u"/s/杯子"_s),
            row(u"http://a/2"_s, BatchState::Downloading, u"/s/茶壶"_s),
            row(u"http://a/3"_s, BatchState::Picking),
            row(u"http://a/4"_s, BatchState::NotProduct),
            row(u"http://a/5"_s, BatchState::AlreadySaved, u"/s/碗"_s),
        };
        // Written another way, an address is still the same page.
        const QList<BatchRow> rows = BatchJournal::resume(
            journal, {u"http://a/3"_s, u"HTTP://A:80/1#top"_s, u"http://a/6"_s, u"http://a/./2"_s});
        QStringList urls;
        QList<BatchState> states;
        for (const BatchRow &r : rows) {
            urls << r.url;
            states << r.state;
        }
        QCOMPARE(urls, (QStringList{u"http://a/1"_s, u"http://a/2"_s, u"http://a/3"_s, u"http://a/4"_s,
                                    u"http://a/5"_s, u"http://a/6"_s}));
        QCOMPARE(states, (QList<BatchState>{BatchState::AlreadySaved, BatchState::Waiting, BatchState::Waiting,
                                            BatchState::NotProduct, BatchState::AlreadySaved, BatchState::Waiting}));
        QCOMPARE(rows[1].folder, u"/s/茶壶"_s); // completed in its own folder, not a new "茶壶1"
    }
};

PICTORRA_TEST_MAIN(BatchJournalTest)
#include "tst_BatchJournal.moc"
