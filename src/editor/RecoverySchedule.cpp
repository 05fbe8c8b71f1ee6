#include "editor/RecoverySchedule.h"

#include <algorithm>

void RecoverySchedule::changed(qint64 now)
{
    if (!m_pending) {
        m_pending = true;
        m_firstChange = now;
    }
    m_lastChange = now;
}

qint64 RecoverySchedule::dueAt() const
{
    return std::min(m_lastChange + kPauseMs, m_firstChange + kLongestMs);
}
