#pragma once

#include <QDateTime>
#include <QList>
#include <QWidget>

#include <limits>
#include <vector>

// The Measure tab's plot: each value of the repeated measurements over
// time, one line per value, on shared axes that scale to all points. The
// legend names the lines "value 1", "value 2" ...; the latest value of each
// stands at its last point, as the sensor prints it.
//
// Points are kept in arrays and the ranges as running extremes, so adding
// costs the same however many came before. A line with more points than the
// plot has pixel columns is drawn from each column's first, lowest, highest
// and last value: the same picture at a drawing cost bound by the width.
// The plot repaints when points come or go, never on a timer.
class MeasurePlot : public QWidget {
    Q_OBJECT
public:
    explicit MeasurePlot(QWidget* parent = nullptr);

    // values[i] belongs to series i ("value i+1"); a measurement with more
    // values than any before adds series. NaN and infinities are left out.
    void AddMeasurement(const QDateTime& time, const QList<double>& values);
    void Clear();

    int SeriesCount() const { return int(m_series.size()); }
    qsizetype PointCount(int series) const;
    // The line's colour under the current palette, for views that match it.
    QColor SeriesColour(int series) const;

    QSize sizeHint() const override { return {400, 250}; }
    QSize minimumSizeHint() const override { return {200, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Series {
        std::vector<qint64> TimesMs; // since the epoch
        std::vector<double> Values;
    };
    // Over all points of all series.
    struct Extremes {
        qint64 FirstMs = std::numeric_limits<qint64>::max();
        qint64 LastMs = std::numeric_limits<qint64>::min();
        double Lowest = std::numeric_limits<double>::infinity();
        double Highest = -std::numeric_limits<double>::infinity();

        bool IsEmpty() const { return FirstMs > LastMs; }
    };

    std::vector<Series> m_series;
    Extremes m_extremes;
};
