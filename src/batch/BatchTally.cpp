#include "batch/BatchTally.h"

void BatchTally::reset(const QList<BatchRow> &rows)
{
    m_states.clear();
    m_finished = m_saved = m_failures = 0;
    for (int row = 0; row < rows.size(); ++row)
        update(row, rows[row].state);
}

void BatchTally::update(int row, BatchState state)
{
    if (row >= m_states.size())
        m_states.resize(row + 1, BatchState::Waiting); // waiting rows count nowhere
    count(m_states[row], -1);
    m_states[row] = state;
    count(state, 1);
}

void BatchTally::count(BatchState state, int step)
{
    m_finished += batchStateIsFinal(state) ? step : 0;
    m_saved += state == BatchState::Done || state == BatchState::AlreadySaved ? step : 0;
    m_failures += batchStateIsFailure(state) ? step : 0;
}
