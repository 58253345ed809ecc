#include "measure/ThinnedLine.h"

#include <algorithm>

void ThinnedLine::keepFourOf(const std::vector<qint64>& times, const std::vector<double>& values,
                             std::size_t first, std::size_t end, std::vector<qint64>& keptTimes,
                             std::vector<double>& keptValues) {
    const auto begin = values.begin();
    const auto lowest =
        std::size_t(std::min_element(begin + qsizetype(first), begin + qsizetype(end)) - begin);
    const auto highest =
        std::size_t(std::max_element(begin + qsizetype(first), begin + qsizetype(end)) - begin);
    std::size_t kept[] = {first, lowest, highest, end - 1};
    std::sort(std::begin(kept), std::end(kept));
    const std::size_t* last = std::unique(std::begin(kept), std::end(kept));
    for (const std::size_t* index = std::begin(kept); index != last; ++index) {
        keptTimes.push_back(times[*index]);
        keptValues.push_back(values[*index]);
    }
}

bool ThinnedLine::startsPiece(std::size_t index) const {
    return std::binary_search(m_breaks.begin(), m_breaks.end(), index);
}

void ThinnedLine::append(qint64 timeMs, double value) {
    const std::size_t next = m_values.size();
    const bool sameStretch = m_stretchMs > 0 && next > 0 && !startsPiece(next) &&
                             m_times[m_openStretch] / m_stretchMs == timeMs / m_stretchMs;
    if (!sameStretch) {
        m_openStretch = next;
        m_times.push_back(timeMs);
        m_values.push_back(value);
    } else {
        // The last stretch takes the point and keeps its four again.
        std::vector<qint64> times(m_times.begin() + qsizetype(m_openStretch), m_times.end());
        std::vector<double> values(m_values.begin() + qsizetype(m_openStretch), m_values.end());
        times.push_back(timeMs);
        values.push_back(value);
        m_times.resize(m_openStretch);
        m_values.resize(m_openStretch);
        keepFourOf(times, values, 0, values.size(), m_times, m_values);
    }
    if (m_values.size() <= PointBudget)
        return;
    // Stretches twice as long (the first ones long enough for an eighth of
    // the budget) halve the points at least.
    const qint64 span = std::max<qint64>(1, m_times.back() - m_times.front() + 1);
    m_stretchMs =
        m_stretchMs > 0 ? 2 * m_stretchMs : std::max<qint64>(1, span / qint64(PointBudget / 8));
    regroup();
}

void ThinnedLine::breakHere() {
    const std::size_t next = m_values.size();
    if (next > 0 && (m_breaks.empty() || m_breaks.back() != next))
        m_breaks.push_back(next);
}

void ThinnedLine::regroup() {
    std::vector<qint64> times;
    std::vector<double> values;
    std::vector<std::size_t> breaks;
    times.reserve(m_times.size() / 2);
    values.reserve(m_values.size() / 2);
    std::size_t first = 0;
    while (first < m_values.size()) {
        // A stretch ends where the time passes into the next one, or at a break.
        std::size_t end = first + 1;
        while (end < m_values.size() && !startsPiece(end) &&
               m_times[end] / m_stretchMs == m_times[first] / m_stretchMs)
            ++end;
        if (startsPiece(first))
            breaks.push_back(values.size());
        m_openStretch = values.size();
        keepFourOf(m_times, m_values, first, end, times, values);
        first = end;
    }
    if (startsPiece(m_values.size())) // a break after the last point
        breaks.push_back(values.size());
    m_times = std::move(times);
    m_values = std::move(values);
    m_breaks = std::move(breaks);
}
