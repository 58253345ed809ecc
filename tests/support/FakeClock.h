#pragma once

#include "platform/Clock.h"

// A clock that moves only when the test says so.
class FakeClock : public IClock {
public:
    qint64 TickMs() const override { return m_tickMs; }
    double MonotonicSeconds() const override { return m_tickMs / 1000.0; }
    QDateTime LocalNow() const override { return m_localStart.addMSecs(m_tickMs - StartTick); }

    void Advance(qint64 milliseconds) { m_tickMs += milliseconds; }

private:
    static constexpr qint64 StartTick = 100000; // well away from 0, which means "not yet"
    qint64 m_tickMs = StartTick;
    QDateTime m_localStart = QDateTime(QDate(2026, 1, 31), QTime(14, 5, 9));
};
