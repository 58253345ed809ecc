#pragma once

#include <chrono>

// How much faster than a real sensor the simulated one runs: its measuring
// times, service requests, turnaround and quiet time after an address
// change all shrink by the factor. The pace of the characters on the line
// does not: that belongs to the line, not to the sensor.
class TimeScale {
public:
    // factor: 1 or more; 1 runs at a real sensor's pace.
    explicit TimeScale(double factor = 1.0) : m_factor(factor) {}

    std::chrono::nanoseconds shorten(std::chrono::nanoseconds real) const;

    // The whole seconds a measurement that takes `real` at full length
    // promises: its shortened time rounded up, so the data are never later
    // than promised and a recorder that waits out the promise waits at most
    // a second for them. Nothing to wait for stays 0.
    int promisedSeconds(std::chrono::nanoseconds real) const;

private:
    double m_factor;
};
