#pragma once

#include "measure/AxisTicks.h"
#include "measure/ThinnedLine.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <vector>

// The Measure tab's plot: each value of the repeated measurements over
// time, one line per value, either each in a panel with a value axis of its
// own, the panels stacked over one time axis, or all against one shared
// value axis. The legend names the lines by the names given ("TA (degC)"
// ...), or "value 1", "value 2" ...; the latest value of each stands at its
// last point, as the sensor prints it. A click on a legend entry, Space on
// the entry chosen with the arrow keys, or the context menu (right click,
// the Menu key, Shift+F10) hides or shows its line. The value axes scale to
// the shown lines, so a temperature can be read without a pressure beside
// it flattening it; the time axis spans all points. A failed measurement
// breaks every line: the points before it and after it are not joined.
//
// Points are kept in arrays and each line's range as running extremes, so
// adding costs the same however many came before. A line with more points
// than the plot has pixel columns is drawn from each column's first,
// lowest, highest and last value: the same picture at a drawing cost bound
// by the width. A line that grows past its budget keeps those four points of
// each stretch of time (ThinnedLine), so that weeks of measurements keep
// memory flat. The plot repaints when points come or go, never on a timer.
class MeasurePlot : public QWidget {
    Q_OBJECT
public:
    explicit MeasurePlot(QWidget* parent = nullptr);

    // values[i] belongs to series i ("value i+1"); a measurement with more
    // values than any before adds series. NaN and infinities are left out.
    void AddMeasurement(const QDateTime& time, const QList<double>& values);
    // A measurement failed here: each line's next point starts a new piece.
    void BreakLines();
    // The same for these lines only (one sensor's, say).
    void BreakLines(const QList<int>& series);
    // Removes every line; the lines that come after are shown.
    void Clear();
    // The lines' names in the legend, in series order; an empty or missing
    // one leaves "value n".
    void SetSeriesNames(const QStringList& names);

    // One value axis per shown line (the default), or one for them all.
    void SetOneAxisPerValue(bool oneAxisPerValue);
    bool IsOneAxisPerValue() const { return m_oneAxisPerValue; }

    int SeriesCount() const { return int(m_series.size()); }
    qsizetype PointCount(int series) const;
    // The line's colour under the current palette, for views that match it.
    QColor SeriesColour(int series) const;

    // A new series is shown. A series out of range is neither shown nor
    // changed.
    void SetSeriesVisible(int series, bool visible);
    bool IsSeriesVisible(int series) const;

    // Where the series' legend entry stands; empty while no legend is drawn
    // (before the first point).
    QRect LegendEntryRect(int series) const;
    // The value axis the series is drawn against at the current size: its
    // own, or the one over all shown series' points; without ticks while
    // the series is hidden or has no point.
    AxisScale ValueAxis(int series) const;
    // The legend entry that Space toggles while the plot has the focus; -1
    // while there is none.
    int CurrentLegendEntry() const;

    QSize sizeHint() const override { return {400, 250}; }
    QSize minimumSizeHint() const override { return {160, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct ValueRange {
        double Lowest = std::numeric_limits<double>::infinity();
        double Highest = -std::numeric_limits<double>::infinity();

        bool IsEmpty() const { return Lowest > Highest; }
        void Include(double low, double high) {
            Lowest = std::min(Lowest, low);
            Highest = std::max(Highest, high);
        }
    };
    struct Series {
        ThinnedLine Points; // times in milliseconds since the epoch
        ValueRange Range;
        bool Visible = true;
    };
    // Over all points of all series, shown or hidden.
    struct TimeSpan {
        qint64 FirstMs = std::numeric_limits<qint64>::max();
        qint64 LastMs = std::numeric_limits<qint64>::min();

        bool IsEmpty() const { return FirstMs > LastMs; }
    };
    // The legend's entries and the plot's top and bottom edges at the
    // current size and font.
    struct Layout {
        QList<QRectF> Legend;
        double Top = 0;
        double Bottom = 0;
        double LineHeight = 0;
    };

    // A band of the plot with its value axis and the series drawn in it.
    struct Panel {
        double Top = 0;
        double Bottom = 0;
        AxisScale Values;
        std::vector<int> Series;
    };

    Layout CurrentLayout() const;
    ValueRange ShownRange() const;
    // Top to bottom; none while no shown series has a point.
    std::vector<Panel> Panels(const Layout& layout) const;
    // The series whose legend entry holds `position`, or -1.
    int LegendEntryAt(const QPointF& position) const;
    void ShowAllSeries();
    // The axes, lines, latest values and legend, once there are points.
    void DrawMeasurements(QPainter& painter) const;

    std::vector<Series> m_series;
    QStringList m_names;
    TimeSpan m_times;
    bool m_oneAxisPerValue = true;
    int m_pressedEntry = -1; // under the left button's press
    int m_currentEntry = 0;  // kept within the legend by CurrentLegendEntry
};
