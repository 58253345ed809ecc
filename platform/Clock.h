#pragma once

#include <QDateTime>
#include <QtGlobal>

// The clocks the program reads: a monotonic millisecond tick for round trips
// and gaps, monotonic seconds for the pending-command time-out (so that a
// command pending across local midnight still times out), the local date and
// time for stamps, and a precise blocking sleep for the break.
class IClock {
public:
    virtual ~IClock() = default;
    virtual qint64 TickMs() const = 0;
    virtual double MonotonicSeconds() const = 0;
    virtual QDateTime LocalNow() const = 0;
    virtual void SleepPrecise(int milliseconds) = 0;
};

class SystemClock : public IClock {
public:
    qint64 TickMs() const override;
    double MonotonicSeconds() const override;
    QDateTime LocalNow() const override;
    void SleepPrecise(int milliseconds) override;
};
