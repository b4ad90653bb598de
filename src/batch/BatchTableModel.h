#pragma once

#include "picking/MediaKind.h"

#include <QAbstractTableModel>
#include <QPointer>

class BatchRunner;

// The batch table: one row per address, columns
// 地址 | 标题 | 状态 | a count per kind of media (主图 | SKU图 | 描述图 | 视频) | 失败 | 文件夹 | 原因
// (why a row failed, also in the exported CSV).
class BatchTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Address, Title, State, FirstKind, Failed = FirstKind + int(MediaKind::Count), Folder, Reason, ColumnCount };
    static int kindColumn(MediaKind::Id kind) { return FirstKind + int(kind); }

    explicit BatchTableModel(BatchRunner *runner, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    QString cellText(int row, int column) const;
    // The running rows' seconds change without an event: the window ticks this.
    void refreshRunning();

private:
    QPointer<BatchRunner> m_runner;
};
