#pragma once

#include "batch/BatchRow.h"

#include <QList>

// How many rows of a batch have ended, were saved and failed, kept up to
// date one changed row at a time. The bar and the time left are asked on
// every change of a row: counting the whole list each time would make a row
// cost more the longer the list is.
class BatchTally
{
public:
    void reset(const QList<BatchRow> &rows);
    // Row `row` stands in `state` now; a row past the end is a new one.
    void update(int row, BatchState state);

    int finished() const { return m_finished; } // neither waiting nor running
    int saved() const { return m_saved; }       // 完成 or 已保存
    int failures() const { return m_failures; } // what 重试失败 runs again

private:
    void count(BatchState state, int step);

    QList<BatchState> m_states;
    int m_finished = 0;
    int m_saved = 0;
    int m_failures = 0;
};
