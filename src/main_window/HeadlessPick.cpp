#include "main_window/HeadlessPick.h"

#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "picking/CleanName.h"
#include "picking/PickCommand.h"
#include "platform/TerminalJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPointer>

#include <algorithm>
#include <cstdio>

HeadlessPick::HeadlessPick(MainForm &window, const QStringList &addresses, QObject *parent)
    : QObject(parent), m_window(window)
{
    for (const QString &address : addresses) {
        Result result;
        result.address = address;
        m_results.append(result);
    }
    PickCommand &pick = window.pickCommand();
    connect(&pick, &PickCommand::resultReady, this, &HeadlessPick::onResult);
    connect(&pick, &PickCommand::pickEnded, this, &HeadlessPick::onPickEnded);
    connect(&pick, &PickCommand::statusChanged, this, &HeadlessPick::onStatus);
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
        // The first address goes into the first tab, every other into a new one.
        if (index > 0)
            m_window.NewP();
        const int b = m_window.tabs().book().CurIndex;
        m_results[index].browserIndex = b;
        m_resultOfBrowser.insert(b, index);
        ++m_running;
        m_window.addressStrip().setAddress(m_results[index].address);
        const QPointer<HeadlessPick> self(this);
        m_window.pickCommand().pick_B_Click();
        // A refusal can end the pick (and everything after it) right here.
        if (!self)
            return;
    }
}

void HeadlessPick::onResult(int browserIndex, const PickResult &result)
{
    const auto found = m_resultOfBrowser.constFind(browserIndex);
    if (found != m_resultOfBrowser.constEnd())
        m_results[*found].pick = result;
}

void HeadlessPick::onPickEnded(int browserIndex, bool completed, const QString &message)
{
    const auto found = m_resultOfBrowser.constFind(browserIndex);
    if (found == m_resultOfBrowser.constEnd())
        return;
    const int index = *found;
    m_resultOfBrowser.erase(found);
    Result &result = m_results[index];
    result.ended = true;
    result.completed = completed;
    if (!completed)
        result.error = message.isEmpty() ? QStringLiteral("采集未完成") : message;
    --m_running;
    ++m_ended;
    const QPointer<HeadlessPick> self(this);
    emit picked(index);
    if (!self)
        return;
    if (m_ended == m_results.size())
        return emit finished();
    // Not from inside the command that is still ending this pick.
    QMetaObject::invokeMethod(this, &HeadlessPick::startNext, Qt::QueuedConnection);
}

void HeadlessPick::onStatus(int browserIndex, const QString &line)
{
    if (m_lastStatus.value(browserIndex) == line)
        return;
    m_lastStatus.insert(browserIndex, line);
    std::fprintf(stderr, "[%d] %s\n", browserIndex, TerminalText(line).toUtf8().constData());
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
}

QByteArray HeadlessPick::jsonLine(const Result &result)
{
    if (!result.completed)
        return "{\"url\": " + json(result.address) + ", \"error\": " + json(result.error) + "}";
    const PickResult &pick = result.pick;
    return "{\"url\": " + json(pick.address) + ", \"title\": " + json(pick.title)
        + ", \"main\": " + json(QJsonArray::fromStringList(pick.mainPics))
        + ", \"sku\": " + json(QJsonArray::fromStringList(pick.skuPics))
        + ", \"desc\": " + json(QJsonArray::fromStringList(pick.descPics)) + "}";
}
