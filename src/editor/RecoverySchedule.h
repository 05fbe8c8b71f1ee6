#pragma once

#include <QtGlobal>

// When the recovery copy of a changed transcript is due: once typing has paused for a few
// seconds, and during typing that does not pause at least once a minute. Times are milliseconds
// on any steady clock.
class RecoverySchedule {
public:
    static constexpr qint64 kPauseMs = 5000;
    static constexpr qint64 kLongestMs = 60000;

    void changed(qint64 now);
    // The copy was written (or dropped): nothing is due until the next change.
    void clear() { m_pending = false; }

    bool isPending() const { return m_pending; }
    // Valid while pending.
    qint64 dueAt() const;

private:
    bool m_pending = false;
    qint64 m_firstChange = 0; // the oldest change the copy lacks
    qint64 m_lastChange = 0;
};

// When to try again a Recovery folder that could not be used: at the first change a minute or
// more after the last try.
class RecoveryRetry {
public:
    static constexpr qint64 kAfterMs = 60000;

    void failed(qint64 now)
    {
        m_waiting = true;
        m_failedAt = now;
    }
    void clear() { m_waiting = false; }
    bool isDue(qint64 now) const { return m_waiting && now - m_failedAt >= kAfterMs; }

private:
    bool m_waiting = false;
    qint64 m_failedAt = 0;
};
