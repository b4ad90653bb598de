#include "main_window/HeadlessPick.h"

#include "main_window/AddressStrip.h"
#include "main_window/MainForm.h"
#include "picking/PageExtractor.h"
#include "picking/PickCommand.h"
#include "platform/BrowserPage.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

HeadlessPick::HeadlessPick(MainForm &window, const QStringList &addresses, QObject *parent)
    : QObject(parent), m_window(window)
{
    for (const QString &address : addresses) {
        Result result;
        result.address = address;
        m_results.append(result);
    }
    connect(&window.pickCommand(), &PickCommand::pickEnded, this, &HeadlessPick::onPickEnded);
    connect(&window.pickCommand(), &PickCommand::statusChanged, this, &HeadlessPick::onStatus);
}

void HeadlessPick::start()
{
    m_open = int(m_results.size());
    for (int i = 0; i < m_results.size(); ++i) {
        if (i > 0)
            m_window.NewP();
        const int b = m_window.tabs().book().CurIndex;
        m_results[i].browserIndex = b;
        m_resultOfBrowser.insert(b, i);
        m_window.addressStrip().setAddress(m_results[i].address);
        m_window.pickCommand().pick_B_Click();
    }
    m_started = true;
    if (m_open == 0)
        readNext(0);
}

void HeadlessPick::onPickEnded(int browserIndex, bool completed, const QString &message)
{
    const auto found = m_resultOfBrowser.constFind(browserIndex);
    if (found == m_resultOfBrowser.constEnd())
        return;
    Result &result = m_results[*found];
    result.completed = completed;
    if (!completed)
        result.error = message.isEmpty() ? QStringLiteral("采集未完成") : message;
    if (--m_open == 0 && m_started)
        readNext(0);
}

void HeadlessPick::onStatus(int browserIndex, const QString &line)
{
    if (m_lastStatus.value(browserIndex) == line)
        return;
    m_lastStatus.insert(browserIndex, line);
    std::fprintf(stderr, "[%d] %s\n", browserIndex, line.toUtf8().constData());
}

void HeadlessPick::readNext(int index)
{
    if (index >= m_results.size())
        return emit finished();
    Result &result = m_results[index];
    BrowserPage *page = m_window.tabs().browser(result.browserIndex);
    if (!result.completed || !page)
        return readNext(index + 1);
    const TabBook &book = m_window.tabs().book();
    result.url = book.PickUrl.value(result.browserIndex);
    result.title = book.PickTitle.value(result.browserIndex);
    page->readDocument(PageExtractor::ContainerIds(), this, [this, index](const DocumentSnapshot &snapshot) {
        PicLists scratch;
        Result &done = m_results[index];
        PageExtractor::ExtractPics(snapshot, 0, done.browserIndex, false, scratch);
        done.main = scratch.MainPics(done.browserIndex);
        done.desc = scratch.DescPics(done.browserIndex);
        readNext(index + 1);
    });
}

bool HeadlessPick::allCompleted() const
{
    return std::all_of(m_results.begin(), m_results.end(), [](const Result &r) { return r.completed; });
}

namespace {
// One JSON value, written compactly; the fields keep the order we give them.
QByteArray json(const QJsonValue &value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}
}

QByteArray HeadlessPick::jsonLine(const Result &result)
{
    if (!result.completed)
        return "{\"url\": " + json(result.address) + ", \"error\": " + json(result.error) + "}";
    return "{\"url\": " + json(result.url) + ", \"title\": " + json(result.title)
        + ", \"main\": " + json(QJsonArray::fromStringList(result.main))
        + ", \"desc\": " + json(QJsonArray::fromStringList(result.desc)) + "}";
}
