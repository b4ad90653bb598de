#include "screenless/HeadlessPick.h"

#include "engine/Engine.h"
#include "engine/PageHost.h"
#include "picking/CleanName.h"
#include "picking/Pick.h"
#include "platform/BrowserPage.h"
#include "base/TerminalJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>

#include <algorithm>

HeadlessPick::HeadlessPick(Engine &engine, const QStringList &addresses, QObject *parent)
    : QObject(parent), m_engine(engine)
{
    for (const QString &address : addresses) {
        Result result;
        result.address = address;
        m_results.append(result);
    }
}

void HeadlessPick::start()
{
    if (m_results.isEmpty())
        return emit finished();
    startNext();
}

void HeadlessPick::startNext()
{
    while (m_running < MaxRunning && m_next < m_results.size()) {
        const int index = m_next++;
        ++m_running;
        auto *pick = new Pick(m_engine.pages().openPage(), m_engine.designs(), m_engine.intervals(), this);
        connect(pick, &Pick::progress, this, [this, index](int seconds) { emit ticking(index, seconds); });
        connect(pick, &Pick::ended, this, [this, index, pick](const PickOutcome &outcome) { onEnded(index, pick, outcome); });
        pick->start(m_results[index].address);
    }
}

void HeadlessPick::onEnded(int index, Pick *pick, const PickOutcome &outcome)
{
    pick->deleteLater();
    Result &result = m_results[index];
    result.ended = true;
    result.completed = outcome.picked();
    result.pick = outcome.result;
    if (!result.completed)
        result.error = outcome.message.isEmpty() ? QStringLiteral("采集未完成") : outcome.message;
    --m_running;
    ++m_ended;
    const QPointer<HeadlessPick> self(this);
    const QPointer<BrowserPage> page = pick->page();
    emit picked(index);
    if (!self)
        return;
    // Printed: its page is of no more use, and each page is a browser process.
    m_engine.pages().closePage(page);
    if (m_ended == m_results.size())
        return emit finished();
    QMetaObject::invokeMethod(this, &HeadlessPick::startNext, Qt::QueuedConnection);
}

bool HeadlessPick::allCompleted() const
{
    return std::all_of(m_results.begin(), m_results.end(), [](const Result &r) { return r.completed; });
}

namespace {
QByteArray json(const QJsonValue &value)
{
    return TerminalJson::value(value);
}

QByteArray field(const QString &key, const QJsonValue &value)
{
    return ", " + json(key) + ": " + json(value);
}

// One name per address, whatever the page gave: a script may zip the two lists.
QStringList namesOf(const MediaGroup &group)
{
    QStringList names = group.names.mid(0, group.addresses.size());
    while (names.size() < group.addresses.size())
        names.append(QString());
    return names;
}

QByteArray saveFields(const DownloadSummary &saved)
{
    QStringList failedNames;
    for (const FailedPicture &picture : saved.failures)
        failedNames << picture.name();
    QByteArray fields = field(QStringLiteral("folder"), saved.itemFolder) + field(QStringLiteral("saved"), saved.saved)
        + field(QStringLiteral("dropped"), saved.dropped) + field(QStringLiteral("failed"), saved.failed)
        + field(QStringLiteral("failedNames"), QJsonArray::fromStringList(failedNames));
    if (saved.outcome == DownloadSummary::Outcome::FolderFailed)
        fields += field(QStringLiteral("saveError"), saved.line + QStringLiteral(" (") + saved.error + QLatin1Char(')'));
    return fields;
}
} // namespace

QByteArray HeadlessPick::jsonLine(const Result &result, const DownloadSummary *saved)
{
    if (!result.completed)
        return "{\"url\": " + json(result.address) + field(QStringLiteral("error"), result.error) + "}";
    const PickResult &pick = result.pick;
    QByteArray line = "{\"url\": " + json(pick.address) + field(QStringLiteral("title"), pick.title);
    for (const MediaGroup &group : pick.groups()) {
        line += field(group.key(), QJsonArray::fromStringList(group.addresses));
        if (group.kind == MediaGroup::Kind::Sku)
            line += field(group.key() + QStringLiteral("Names"), QJsonArray::fromStringList(namesOf(group)));
    }
    if (saved)
        line += saveFields(*saved);
    return line + "}";
}
