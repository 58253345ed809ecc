#pragma once

#include <QVector>
#include <algorithm>
#include <cstdio>

// Median, spread and extremes of a series of durations in milliseconds.
inline void printFigures(const char* name, QVector<double> values) {
    if (values.isEmpty()) {
        std::printf("%s: no samples\n", name);
        return;
    }
    std::sort(values.begin(), values.end());
    const auto at = [&values](double fraction) {
        return values.at(std::min<int>(values.size() - 1, int(fraction * values.size())));
    };
    std::printf("%s_median: %.2f ms\n", name, at(0.5));
    std::printf("%s_p10_p90: %.2f .. %.2f ms\n", name, at(0.1), at(0.9));
    std::printf("%s_p99: %.2f ms\n", name, at(0.99));
    std::printf("%s_min_max: %.2f .. %.2f ms (%d samples)\n", name, values.first(), values.last(),
                int(values.size()));
}
