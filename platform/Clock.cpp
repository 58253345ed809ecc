#include "platform/Clock.h"

#include <cerrno>
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

// Sleeps to an absolute monotonic deadline, so that an interrupted sleep
// resumes towards the same end instead of starting over.
void SystemClock::SleepPrecise(int milliseconds) {
    if (milliseconds <= 0)
        return;
    timespec deadline = monotonicNow();
    deadline.tv_sec += milliseconds / 1000;
    deadline.tv_nsec += long(milliseconds % 1000) * 1000000L;
    if (deadline.tv_nsec >= 1000000000L) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}
