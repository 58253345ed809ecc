#include "tools/sim/MeasuredValues.h"

#include <cstdlib>

namespace {

// Rises by one a measurement up to `span`, then falls back to 0, and again:
// a slow drift that never jumps.
int drift(int reading, int span) {
    const int phase = reading % (2 * span);
    return phase <= span ? phase : 2 * span - phase;
}

// `scaled` counts units of the last decimal: decimal(2137, 2) is "+21.37".
// Written digit by digit so that no locale can turn the point into a comma.
std::string decimal(long scaled, int decimals) {
    std::string digits = std::to_string(std::labs(scaled));
    if (decimals > 0) {
        const std::size_t width = static_cast<std::size_t>(decimals) + 1;
        if (digits.size() < width)
            digits.insert(0, width - digits.size(), '0');
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
    }
    return (scaled < 0 ? "-" : "+") + digits;
}

// Falls by 0.41 degrees a step down the profile.
std::string temperature(int reading, int depth = 0) {
    return decimal(2137 - 41 * depth + 2 * drift(reading, 25), 2);
}

std::string supplyVoltage(int reading) {
    return decimal(1264 - drift(reading, 4), 2);
}

} // namespace

std::vector<std::string> MeasuredValues::of(int index, int reading) {
    switch (index) {
    case 0:
        return {temperature(reading), decimal(10132 + drift(reading, 8), 1),
                supplyVoltage(reading)};
    case 1: {
        std::vector<std::string> profile;
        for (int depth = 0; depth < 9; ++depth)
            profile.push_back(temperature(reading, depth));
        return profile;
    }
    case 2:
        return {decimal(482 + drift(reading, 30), 1)};
    case 3:
        return {decimal(-12 - drift(reading, 6), 2), decimal(791 + 3 * drift(reading, 10), 2)};
    default:
        return {};
    }
}

std::vector<std::string> MeasuredValues::verification(int reading) {
    return {"+0", "+2.500", supplyVoltage(reading)};
}

std::vector<std::string> MeasuredValues::intoDataAnswers(const std::vector<std::string>& values) {
    std::vector<std::string> groups;
    for (const std::string& value : values) {
        if (groups.empty() || groups.back().size() + value.size() > kDataAnswerLength)
            groups.emplace_back();
        groups.back() += value;
    }
    return groups;
}

std::string MeasuredValues::joined(const std::vector<std::string>& values) {
    std::string text;
    for (const std::string& value : values)
        text += value;
    return text;
}
