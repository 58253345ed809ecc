#include "platform/Clock.h"

#include <ctime>

namespace {
timespec monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}
} // namespace

qint64 SystemClock::TickMs() const {
    const timespec now = monotonicNow();
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

double SystemClock::MonotonicSeconds() const {
    const timespec now = monotonicNow();
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

QDateTime SystemClock::LocalNow() const {
    return QDateTime::currentDateTime();
}
