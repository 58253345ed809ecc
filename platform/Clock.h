#pragma once

#include <QDateTime>
#include <QtGlobal>

// The clocks the program reads: a monotonic millisecond tick for round trips
// and gaps, monotonic seconds for the pending-command time-out (so that a
// command pending across local midnight still times out), and the local date
// and time for stamps.
class IClock {
public:
    virtual ~IClock() = default;
    virtual qint64 TickMs() const = 0;
    virtual double MonotonicSeconds() const = 0;
    virtual QDateTime LocalNow() const = 0;
};

class SystemClock : public IClock {
public:
    qint64 TickMs() const override;
    double MonotonicSeconds() const override;
    QDateTime LocalNow() const override;
};
