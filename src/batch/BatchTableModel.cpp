#include "batch/BatchTableModel.h"

#include "batch/BatchRunner.h"
#include "picking/MediaKinds.h"
#include "picking/designs/GenericDesign.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

BatchTableModel::BatchTableModel(BatchRunner *runner, QObject *parent)
    : QAbstractTableModel(parent), m_runner(runner)
{
    connect(runner, &BatchRunner::rowsReset, this, [this] {
        beginResetModel();
        endResetModel();
    });
    // The rows are there already; a view asks for them only after the end.
    connect(runner, &BatchRunner::rowsAdded, this, [this](int first, int last) {
        beginInsertRows({}, first, last);
        endInsertRows();
    });
    connect(runner, &BatchRunner::rowChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, ColumnCount - 1)); });
}

int BatchTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_runner ? 0 : int(m_runner->rows().size());
}

int BatchTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString BatchTableModel::cellText(int row, int column) const
{
    if (!m_runner || row < 0 || row >= m_runner->rows().size())
        return {};
    const BatchRow &r = m_runner->rows()[row];
    const bool picked = r.state == BatchState::Downloading || batchStateWasPicked(r.state);
    auto count = [picked](int n) { return picked || n > 0 ? QString::number(n) : QString(); };
    switch (column) {
    case Address: return r.url;
    // Rows journalled before the clean name was kept show the document's title.
    case Title: return r.productTitle.isEmpty() ? r.title : r.productTitle;
    case State:
        if (r.state == BatchState::Picking) {
            const qint64 seconds = (QDateTime::currentMSecsSinceEpoch() - r.startedMs) / 1000;
            return u"采集中 (%1秒)"_s.arg(qMax<qint64>(0, seconds));
        }
        if (r.state == BatchState::Downloading && r.total > 0)
            return u"下载中 (%1/%2)"_s.arg(r.done).arg(r.total);
        return batchStateText(r.state) + (r.reader.isEmpty() ? QString() : GenericDesign::StateMark);
    case Failed: return batchStateIsFinal(r.state) && picked ? QString::number(r.failed) : QString();
    case Folder: return r.folder;
    // Whatever did not end whole says why; a waiting or running row has no reason yet.
    case Reason: return batchStateIsFinal(r.state) && r.state != BatchState::Done ? r.note : QString();
    default:
        break;
    }
    if (column >= FirstKind && column < Failed)
        return count(r.found[MediaKind::Id(column - FirstKind)]);
    return {};
}

QVariant BatchTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cellText(index.row(), index.column());
    if (role == Qt::ToolTipRole && index.column() == State && m_runner)
        return m_runner->rows()[index.row()].note;
    return {};
}

QVariant BatchTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList names = [] {
        QStringList names{u"地址"_s, u"标题"_s, u"状态"_s};
        for (const MediaKind &kind : MediaKinds::all())
            names << kind.folder;
        return names << u"失败"_s << u"文件夹"_s << u"原因"_s;
    }();
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < names.size())
        return names[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

void BatchTableModel::refreshRunning()
{
    if (!m_runner)
        return;
    for (int row = 0; row < m_runner->rows().size(); ++row) {
        if (m_runner->rows()[row].state == BatchState::Picking)
            emit dataChanged(index(row, State), index(row, State));
    }
}
