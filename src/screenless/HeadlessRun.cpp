#include "screenless/HeadlessRun.h"

#include "engine/Engine.h"
#include "picking/CleanName.h"
#include "platform/BrowserPage.h"
#include "platform/TerminalProgress.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

HeadlessRun::HeadlessRun(Engine &engine, const QStringList &addresses, const QString &saveFolder,
                         TerminalProgress &progress, const SaveChoice &choice, QObject *parent)
    : QObject(parent), m_pick(engine, addresses), m_progress(progress)
{
    if (!saveFolder.isEmpty()) {
        m_save.emplace(QDir(saveFolder).absolutePath(), engine.fetcher(), choice);
        connect(&*m_save, &HeadlessSave::saved, this, &HeadlessRun::onSaved);
        connect(&*m_save, &HeadlessSave::progressed, this, [this](int index, int done, int total) {
            m_label = QStringLiteral("[%1] 下载 %2/%3张").arg(index + 1).arg(done).arg(total);
            redraw();
        });
    }
    connect(&m_pick, &HeadlessPick::picked, this, &HeadlessRun::onPicked);
    connect(&m_pick, &HeadlessPick::ticking, this, [this](int index, int seconds) {
        m_label = QStringLiteral("[%1] 采集中 %2s").arg(index + 1).arg(seconds);
        redraw();
    });
}

int HeadlessRun::exec()
{
    if (m_pick.results().isEmpty())
        return 0;
    redraw();
    // From the event loop: an exit asked for before it runs would be lost.
    QMetaObject::invokeMethod(&m_pick, &HeadlessPick::start, Qt::QueuedConnection);
    const int code = QCoreApplication::exec();
    m_progress.end();
    return code;
}

void HeadlessRun::onPicked(int index)
{
    const HeadlessPick::Result &result = m_pick.results().at(index);
    if (!result.completed) {
        m_allWell = false;
        m_progress.say(QStringLiteral("[%1] 采集失败：").arg(index + 1) + TerminalText(result.address)
                       + QStringLiteral("：") + TerminalText(result.error));
    } else {
        ++m_picked;
        // Saved first: the page's line carries what saving it came to.
        if (m_save)
            return m_save->save(index, result.pick);
    }
    std::printf("%s\n", HeadlessPick::jsonLine(result).constData());
    std::fflush(stdout);
    pageDone();
}

void HeadlessRun::onSaved(int index, const DownloadSummary &summary)
{
    std::printf("%s\n", HeadlessPick::jsonLine(m_pick.results().at(index), &summary).constData());
    std::fflush(stdout);
    m_saved += summary.saved;
    m_dropped += summary.dropped;
    m_failed += summary.failed;
    if (summary.failed > 0 || summary.outcome != DownloadSummary::Outcome::Completed)
        m_allWell = false;
    m_progress.say(QStringLiteral("[%1] ").arg(index + 1) + HeadlessSave::summaryLine(summary));
    pageDone();
}

void HeadlessRun::pageDone()
{
    ++m_printed;
    m_label.clear();
    redraw();
    if (m_printed < m_pick.results().size())
        return;
    m_progress.end();
    m_progress.say(summary());
    QCoreApplication::exit(m_allWell ? 0 : 1);
}

void HeadlessRun::redraw()
{
    m_progress.show(m_printed, int(m_pick.results().size()), m_label);
}

QString HeadlessRun::summary() const
{
    QString line = QStringLiteral("共%1页，采集成功%2页").arg(m_pick.results().size()).arg(m_picked);
    if (m_save)
        line += QStringLiteral("，保存%1张，丢弃%2张，失败%3张").arg(m_saved).arg(m_dropped).arg(m_failed);
    return line;
}
