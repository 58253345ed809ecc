#pragma once

#include <QtGlobal>

#include <cstddef>
#include <vector>

// A plot line that keeps its picture in bounded memory. The plot draws a
// line with more points than pixel columns from each column's first,
// lowest, highest and last point; this line keeps those four of each
// stretch of time once it holds more than PointBudget points, the
// stretches as long as needed to stay within the budget and the same along
// the whole line. While the stretch is shorter than a pixel column's time,
// the line looks as if every point were kept.
class ThinnedLine {
public:
    // Far more than any screen has pixel columns.
    static constexpr std::size_t PointBudget = 32768;

    void append(qint64 timeMs, double value);
    // The next point starts a new piece: the points before and after it
    // are not joined.
    void breakHere();

    const std::vector<qint64>& timesMs() const { return m_times; }
    const std::vector<double>& values() const { return m_values; }
    // Indices of the points that start a new piece, rising.
    const std::vector<std::size_t>& breaks() const { return m_breaks; }
    std::size_t size() const { return m_values.size(); }
    bool empty() const { return m_values.empty(); }
    // The length of the stretches kept four points each; 0 while every point is.
    qint64 stretchMs() const { return m_stretchMs; }

private:
    bool startsPiece(std::size_t index) const;
    // Regroups every point into stretches of the current length.
    void regroup();
    // Keeps the first, lowest, highest and last of the points [first, end)
    // of `times`/`values`, appending them to `keptTimes`/`keptValues`.
    static void keepFourOf(const std::vector<qint64>& times, const std::vector<double>& values,
                           std::size_t first, std::size_t end, std::vector<qint64>& keptTimes,
                           std::vector<double>& keptValues);

    std::vector<qint64> m_times;
    std::vector<double> m_values;
    std::vector<std::size_t> m_breaks;
    qint64 m_stretchMs = 0;
    std::size_t m_openStretch = 0; // where the points of the last stretch begin
};
