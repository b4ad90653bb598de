// The drawing half of ResultMarks: the sizes the browser reports, and what
// one round tells the page.
#include "main_window/ResultMarks.h"

#include "platform/BrowserPage.h"

using namespace Qt::StringLiterals;

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
        const MediaKind *kind = MediaKinds::byKey(values.value(0).toString());
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
    if (m_infoFiles > 0) {
        marks.append(infoMark());
        heads.append(QJsonArray{SaveChoice::InfoKey, u" 保存%1/%2"_s.arg(infoTicked() ? m_infoFiles : 0).arg(m_infoFiles)});
    }
    m_browser->markResult({{u"marks"_s, marks}, {u"heads"_s, heads}, {u"counts"_s, countsText()}}, this, {});
}

// Drawn every round: one tick, and the 选项 dialog may have changed it.
QJsonArray ResultMarks::infoMark() const
{
    QString word;
    const bool on = infoTicked(&word);
    return QJsonArray{SaveChoice::InfoKey, 0, on, word, QJsonValue()};
}

QString ResultMarks::countsText() const
{
    int on = infoTicked() ? m_infoFiles : 0, all = m_infoFiles;
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
