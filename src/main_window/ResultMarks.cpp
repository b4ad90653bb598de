#include "main_window/ResultMarks.h"

#include "download/ProductFiles.h"
#include "platform/BrowserPage.h"

#include <QJsonArray>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
// As the download decides it: a result that carries no product writes no data files.
QStringList dataFiles(const PickResult &result)
{
    if (result.product.toJson().isEmpty())
        return {};
    if (result.product.skus.isEmpty())
        return {ProductFiles::InfoFile};
    return {ProductFiles::InfoFile, ProductFiles::SkuFile};
}
}

ResultMarks::ResultMarks(BrowserPage *browser, QObject *parent) : QObject(parent), m_browser(browser)
{
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &ResultMarks::poll);
    // Clicks and sizes of one moment go to the page in one round.
    m_flush.setSingleShot(true);
    m_flush.setInterval(50);
    connect(&m_flush, &QTimer::timeout, this, &ResultMarks::flush);
}

void ResultMarks::begin(const PickResult &result, const SaveChoice &rules)
{
    end();
    m_active = true;
    m_choice = rules.rulesOnly();
    QSet<QString> seen;
    QJsonArray containers;
    for (const MediaGroup &group : result.groups()) {
        QList<Cell> &cells = m_cells[group.kind];
        for (const QString &address : group.addresses) {
            cells.append(Cell());
            cells.last().repeat = seen.contains(address);
            seen.insert(address);
        }
        for (int i = 0; i < cells.size(); ++i)
            m_dirty.insert({group.kind, i});
        if (!group.describe().container.isEmpty())
            containers.append(QJsonArray{group.describe().container, group.key()});
    }
    const QStringList files = dataFiles(result);
    m_infoFiles = files.size();
    if (!m_browser)
        return;
    readLengths(result);
    QJsonObject command{{u"decorate"_s, containers}, {u"video"_s, MediaKinds::of(MediaKind::Video).key}};
    if (m_infoFiles > 0)
        command.insert(u"info"_s, QJsonArray{SaveChoice::InfoKey, u"商品信息(%1):"_s.arg(m_infoFiles), files.join(u"  "_s)});
    const int serial = m_serial;
    m_decorating = true;
    m_browser->markResult(command, this, [this, serial](const QVariant &) {
        if (serial != m_serial)
            return;
        m_decorating = false;
        flush();
        m_poll.start();
    });
}

// Bytes come from the servers' headers, one answer at a time, drawn in rounds.
void ResultMarks::readLengths(const PickResult &result)
{
    const int serial = m_serial;
    for (const MediaGroup &group : result.groups())
        for (int i = 0; i < group.addresses.size(); ++i)
            m_browser->readLength(QUrl(group.addresses.at(i)), this, [this, serial, kind = group.kind, i](qint64 bytes) {
                if (serial != m_serial || bytes <= 0 || i >= m_cells[kind].size())
                    return;
                m_cells[kind][i].bytes = bytes;
                m_dirty.insert({kind, i});
                drawSoon();
            });
}

void ResultMarks::drawSoon()
{
    if (m_active && !m_decorating && !m_flush.isActive())
        m_flush.start();
}

void ResultMarks::end()
{
    ++m_serial;
    m_active = m_decorating = false;
    m_poll.stop();
    m_flush.stop();
    m_polls = 0;
    m_infoFiles = 0;
    m_dirty.clear();
    for (QList<Cell> &cells : m_cells)
        cells.clear();
    m_choice.ticks = {};
    m_choice.infoTick = SaveChoice::Tick::Auto;
}

void ResultMarks::setRules(const SaveChoice &rules)
{
    const SaveChoice item = m_choice;
    m_choice = rules.rulesOnly();
    m_choice.takeTicks(item);
    for (const MediaKind &kind : MediaKinds::all())
        for (int i = 0; i < m_cells[kind.id].size(); ++i)
            m_dirty.insert({kind.id, i});
    drawSoon();
}

bool ResultMarks::ticked(MediaKind::Id kind, int index, QString *word) const
{
    const SaveChoice::Tick tick = m_choice.tick(kind, index);
    if (!m_choice.keeps(kind)) {
        if (word)
            *word = u"不保存"_s;
        return false;
    }
    if (tick != SaveChoice::Tick::Auto)
        return tick == SaveChoice::Tick::On;
    const Cell &cell = m_cells[kind].at(index);
    std::optional<SaveChoice::Reason> reason = m_choice.judge(kind, cell.size);
    if (!reason && cell.repeat && m_choice.dedupe)
        reason = SaveChoice::Same;
    if (reason && word)
        *word = SaveChoice::reasonWord(*reason);
    return !reason;
}

bool ResultMarks::infoTicked(QString *word) const
{
    if (!m_choice.info && word)
        *word = u"不保存"_s;
    return m_choice.savesInfo();
}

void ResultMarks::clicked(const QString &path)
{
    const QStringList parts = path.split(u'/');
    if (m_active && m_infoFiles > 0 && parts.value(1) == SaveChoice::InfoKey)
        return clickedInfo(parts.at(0));
    const MediaKind *kind = MediaKinds::byKey(parts.value(1));
    if (!m_active || !kind)
        return;
    if (parts.at(0) == u"tick"_s) {
        bool ok = false;
        const int index = parts.value(2).toInt(&ok);
        if (!ok || index < 0 || index >= m_cells[kind->id].size())
            return;
        m_choice.setTick(kind->id, index, ticked(kind->id, index) ? SaveChoice::Tick::Off : SaveChoice::Tick::On);
        m_dirty.insert({kind->id, index});
    } else if (parts.at(0) == u"all"_s || parts.at(0) == u"none"_s) {
        const auto tick = parts.at(0) == u"all"_s ? SaveChoice::Tick::On : SaveChoice::Tick::Off;
        for (int i = 0; i < m_cells[kind->id].size(); ++i) {
            m_choice.setTick(kind->id, i, tick);
            m_dirty.insert({kind->id, i});
        }
    }
    drawSoon();
}

void ResultMarks::clickedInfo(const QString &action)
{
    using Tick = SaveChoice::Tick;
    if (action == u"tick"_s)
        m_choice.infoTick = infoTicked() ? Tick::Off : Tick::On;
    else if (action == u"all"_s || action == u"none"_s)
        m_choice.infoTick = action == u"all"_s ? Tick::On : Tick::Off;
    drawSoon();
}
