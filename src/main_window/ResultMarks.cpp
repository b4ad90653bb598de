#include "main_window/ResultMarks.h"

#include "platform/BrowserPage.h"

#include <QJsonArray>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
const MediaKind *kindOf(const QString &key)
{
    for (const MediaKind &kind : MediaKinds::all())
        if (kind.key == key)
            return &kind;
    return nullptr;
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
    if (!m_browser)
        return;
    readLengths(result);
    const QJsonObject command{{u"decorate"_s, containers}, {u"video"_s, MediaKinds::of(MediaKind::Video).key}};
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
    m_dirty.clear();
    for (QList<Cell> &cells : m_cells)
        cells.clear();
    m_choice.ticks = {};
}

void ResultMarks::setRules(const SaveChoice &rules)
{
    const auto ticks = m_choice.ticks;
    m_choice = rules.rulesOnly();
    m_choice.ticks = ticks;
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

void ResultMarks::clicked(const QString &path)
{
    const QStringList parts = path.split(u'/');
    const MediaKind *kind = kindOf(parts.value(1));
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

void ResultMarks::poll()
{
    if (!m_browser || ++m_polls > MaxPolls)
        return m_poll.stop();
    const int serial = m_serial;
    m_browser->markResult({{u"sizes"_s, true}}, this, [this, serial](const QVariant &answer) {
        if (serial == m_serial)
            onSizes(answer);
    });
}

void ResultMarks::onSizes(const QVariant &answer)
{
    int unknown = 0;
    for (const QVariant &entry : answer.toList()) {
        const QVariantList values = entry.toList();
        const MediaKind *kind = kindOf(values.value(0).toString());
        const int index = values.value(1).toInt();
        if (!kind || index < 0 || index >= m_cells[kind->id].size())
            continue;
        Cell &cell = m_cells[kind->id][index];
        // The browser's word: what it could not decode is "?" as before.
        const int width = values.value(2).toInt(), height = values.value(3).toInt();
        if (width > 0 && height > 0)
            cell.size = QSize(width, height);
        cell.bytes = std::max<qint64>(cell.bytes, values.value(4).toLongLong());
        cell.reported = true;
        m_dirty.insert({kind->id, index});
    }
    // A video shows its size only once played: it is not waited for.
    for (const MediaKind &kind : MediaKinds::all())
        for (const Cell &cell : m_cells[kind.id])
            unknown += cell.reported || kind.body != MediaKind::Body::Picture ? 0 : 1;
    if (unknown == 0)
        m_poll.stop();
    if (!m_dirty.isEmpty())
        drawSoon();
}

void ResultMarks::flush()
{
    if (!m_browser || !m_active)
        return;
    QJsonArray marks;
    for (const auto &[kind, index] : std::as_const(m_dirty)) {
        QString word;
        const bool on = ticked(MediaKind::Id(kind), index, &word);
        const Cell &cell = m_cells[kind].at(index);
        marks.append(QJsonArray{MediaKinds::of(MediaKind::Id(kind)).key, index, on, word, sizeText(cell)});
    }
    m_dirty.clear();
    QJsonArray heads;
    for (const MediaKind &kind : MediaKinds::all()) {
        int on = 0;
        for (int i = 0; i < m_cells[kind.id].size(); ++i)
            on += ticked(kind.id, i) ? 1 : 0;
        heads.append(QJsonArray{kind.key, u" 保存%1/%2"_s.arg(on).arg(m_cells[kind.id].size())});
    }
    m_browser->markResult({{u"marks"_s, marks}, {u"heads"_s, heads}, {u"counts"_s, countsText()}}, this, {});
}

QString ResultMarks::countsText() const
{
    int on = 0, all = 0;
    for (const MediaKind &kind : MediaKinds::all())
        for (int i = 0; i < m_cells[kind.id].size(); ++i, ++all)
            on += ticked(kind.id, i) ? 1 : 0;
    return u"将保存 %1 / %2 个文件（点图片下的 ☑ 取消或选回，下载只保存打勾的）"_s.arg(on).arg(all);
}

QString ResultMarks::sizeText(const Cell &cell) const
{
    if (!cell.size.isValid())
        return u"?"_s;
    QString text = u"%1×%2"_s.arg(cell.size.width()).arg(cell.size.height());
    if (cell.bytes > 0)
        text += cell.bytes >= 1024 * 1024 ? u" %1MB"_s.arg(double(cell.bytes) / (1024 * 1024), 0, 'f', 1)
                                          : u" %1KB"_s.arg((cell.bytes + 1023) / 1024);
    return text;
}
