#pragma once

#include "measure/AxisTicks.h"

#include <QColor>
#include <QList>
#include <QPalette>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

class QPainter;

// How the measurement plot draws: its measures, the lines' colours, the
// mapping from times and values to pixels, and the axes, lines, latest
// values, legend and notices. The widget decides what to draw and where.
namespace PlotPainting {

constexpr double Margin = 6;
constexpr double LabelGap = 4; // axis labels to the plot
constexpr double MarkerRadius = 3;
constexpr double SwatchLength = 16;
constexpr double LegendGap = 4; // swatch to name

// The colour of a series' line under `colours` (lightened on a dark one).
QColor LineColour(int series, const QPalette& colours);
// The series' name among `names`, or "value n" where it has none.
QString SeriesName(const QStringList& names, int series);

// The plot's rectangle and the axes' ranges it shows.
class PlotArea {
public:
    PlotArea(const QRectF& rect, const AxisScale& times, const AxisScale& values)
        : m_rect(rect), m_timeMin(times.Min), m_valueMin(values.Min),
          m_xPerMs(rect.width() / (times.Max - times.Min)),
          m_yPerValue(rect.height() / (values.Max - values.Min)) {}

    const QRectF& Rect() const { return m_rect; }
    double X(double ms) const { return m_rect.left() + (ms - m_timeMin) * m_xPerMs; }
    double Ms(double x) const { return m_timeMin + (x - m_rect.left()) / m_xPerMs; }
    double Y(double value) const { return m_rect.bottom() - (value - m_valueMin) * m_yPerValue; }

private:
    QRectF m_rect;
    double m_timeMin;
    double m_valueMin;
    double m_xPerMs;
    double m_yPerValue;
};

struct LatestValue {
    QPointF LineEnd;
    QString Text;
    QColor Colour;
};

// Legend entries of the given widths, flowing left to right in rows.
QList<QRectF> LegendEntries(const QList<double>& widths, double availableWidth, double lineHeight);
// How many ticks fit in `length` pixels with `spacing` or more between them.
int TicksThatFit(double length, double spacing);
// `count` bands of equal height from `top` to `bottom`, `gap` apart, top
// to bottom, as (top, bottom) pairs.
std::vector<std::pair<double, double>> StackedBands(double top, double bottom, int count,
                                                    double gap);

// The grid, the frame and the value labels; the time labels too when asked.
void DrawAxes(QPainter& painter, const PlotArea& area, const AxisScale& values,
              const AxisScale& times, const QPalette& colours, double timeLabelWidth,
              bool timeLabels);
// Draws one line with a marker at its last point, and returns that point.
// The line is not drawn across a break: each break index starts a new
// piece, and a piece of one point shows as a dot.
QPointF DrawLine(QPainter& painter, const std::vector<qint64>& times,
                 const std::vector<double>& values, const std::vector<size_t>& breaks,
                 const PlotArea& area, const QColor& colour);
// The latest values stand beside the lines' ends, spread apart where lines
// end close together.
void DrawLatestValues(QPainter& painter, const std::vector<LatestValue>& latest, const QRectF& plot,
                      double widestText);
// A hidden line's entry stays, faint and struck through, to be clicked back.
void DrawLegend(QPainter& painter, const QList<QRectF>& entries, const QStringList& names,
                const QList<QColor>& lineColours, const QList<bool>& shown,
                const QPalette& colours);
void DrawNotice(QPainter& painter, const QRectF& area, const QPalette& colours,
                const QString& notice);

} // namespace PlotPainting
