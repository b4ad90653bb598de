#include "download/SummaryRows.h"
#include "main_window/DownloadCommand.h"
#include "screenless/HeadlessPick.h"
#include "main_window/MesgList.h"
#include "platform/BrowserPage.h"
#include "platform/EngineQuiet.h"
#include "platform/TerminalProgress.h"
#include "support/TestMain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>

#include <cstdio>

// What a run without a window writes: the JSON line a script reads and the
// human side on standard error.
class TerminalOutputTest : public QObject
{
    Q_OBJECT

    static QJsonObject parsed(const QByteArray &line)
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        if (error.error != QJsonParseError::NoError)
            qWarning("not JSON: %s", line.constData());
        return document.object();
    }

    // What `write` put into a stream that is, or is not, a terminal.
    template<typename Write>
    static QByteArray written(bool terminal, Write write)
    {
        std::FILE *file = std::tmpfile();
        {
            TerminalProgress progress(file, terminal);
            write(progress);
        }
        std::rewind(file);
        QByteArray out(4096, '\0');
        out.resize(qsizetype(std::fread(out.data(), 1, size_t(out.size()), file)));
        std::fclose(file);
        return out;
    }

private Q_SLOTS:
    void aSavedPageLineCarriesTheListsAndTheSave()
    {
        HeadlessPick::Result result;
        result.completed = true;
        result.pick.address = QStringLiteral("https://detail.example/offer/1.html");
        result.pick.title = QStringLiteral("包");
        result.pick.addresses(MediaKind::Sku) = {QStringLiteral("https://img/s1.jpg"), QStringLiteral("https://img/s2.jpg")};
        result.pick.media.names(MediaKind::Sku) = {QStringLiteral("红色")}; // the page named only one
        DownloadSummary saved;
        saved.itemFolder = QStringLiteral("/out/包");
        saved.saved = 3;
        saved.dropped = 1;
        saved.failed = 1;
        saved.failures = {{QStringLiteral("SKU图"), 2, QStringLiteral("https://img/s2.jpg")}};

        const QJsonObject pickOnly = parsed(HeadlessPick::jsonLine(result));
        QCOMPARE(pickOnly.value(u"skuNames").toVariant().toStringList(), (QStringList{QStringLiteral("红色"), QString()}));
        QVERIFY(!pickOnly.contains(u"folder"));

        const QJsonObject line = parsed(HeadlessPick::jsonLine(result, &saved));
        QCOMPARE(line.value(u"sku").toArray().size(), line.value(u"skuNames").toArray().size());
        QCOMPARE(line.value(u"folder").toString(), saved.itemFolder);
        QCOMPARE(line.value(u"saved").toInt(), 3);
        QCOMPARE(line.value(u"dropped").toInt(), 1);
        QCOMPARE(line.value(u"failed").toInt(), 1);
        QCOMPARE(line.value(u"failedNames").toVariant().toStringList(), QStringList{QStringLiteral("SKU图2")});
        QVERIFY(!line.contains(u"saveError"));
    }

    void theBarIsDrawnOnlyOnATerminal()
    {
        const auto run = [](TerminalProgress &progress) {
            progress.show(1, 4, QStringLiteral("采集中\x1b[2J"));
            progress.say(QStringLiteral("[1] 完成"));
        };
        QCOMPARE(written(false, run), QByteArray("[1] 完成\n"));
        const QByteArray terminal = written(true, run);
        // The line is printed over the wiped bar, the bar drawn again under it,
        // and a page's escape in the label never reaches the terminal.
        QVERIFY2(terminal.contains("\r\x1b[K[1] 完成\n[#######"), terminal.constData());
        QVERIFY(!terminal.contains("\x1b[2J"));
        QVERIFY(terminal.endsWith("1/4 采集中\xEF\xBF\xBD[2J\n"));
    }

    void theEngineIsQuietUnlessAsked()
    {
        QCOMPARE(EngineQuiet::chromiumFlags("--no-sandbox"), QByteArray("--no-sandbox --log-level=3"));
        QCOMPARE(EngineQuiet::chromiumFlags(""), QByteArray("--log-level=3"));
        QCOMPARE(EngineQuiet::chromiumFlags("--enable-logging --v=1"), QByteArray("--enable-logging --v=1"));
        QVERIFY(EngineQuiet::shown(QtCriticalMsg, "default"));
        QVERIFY(!EngineQuiet::shown(QtCriticalMsg, "js"));
        QVERIFY(!EngineQuiet::shown(QtCriticalMsg, "qt.webenginecontext"));
        QVERIFY(!EngineQuiet::shown(QtWarningMsg, "default"));
        QVERIFY(EngineQuiet::shown(QtFatalMsg, "js"));
    }

    void aDownloadWithFailuresDoesNotSayItCompleted()
    {
        DownloadSummary summary;
        summary.itemFolder = QStringLiteral("/out/包");
        summary.total = 5;
        summary.saved = 5;
        summary.line = QStringLiteral("消息提示:下载完成,保存至->/out/包->双击打开");
        QCOMPARE(SummaryRows::FirstRow(summary), summary.line);
        summary.saved = 3;
        summary.failed = 2;
        const QString row = SummaryRows::FirstRow(summary);
        QVERIFY2(row.contains(QStringLiteral("下载结束，2张失败")) && !row.contains(QStringLiteral("下载完成")), qPrintable(row));
        QVERIFY(row.contains(QStringLiteral("->/out/包->")));
    }
};

PICTORRA_TEST_MAIN(TerminalOutputTest)
#include "tst_terminal_output.moc"
