#include "tools/sim/TimeScale.h"

#include <cmath>

std::chrono::nanoseconds TimeScale::shorten(std::chrono::nanoseconds real) const {
    return std::chrono::nanoseconds(std::llround(static_cast<double>(real.count()) / m_factor));
}

int TimeScale::promisedSeconds(std::chrono::nanoseconds real) const {
    const auto shortened = std::chrono::ceil<std::chrono::seconds>(shorten(real));
    return static_cast<int>(shortened.count());
}
