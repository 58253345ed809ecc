#include "measure/ui/PlotPainting.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>

namespace {

using PlotPainting::PlotArea;

// Qt strokes lines of one pixel on a fast path; wider ones take its general
// stroker, dozens of times slower over thousands of points.
constexpr double LineWidth = 1;
// A point with a failed measurement on each side: a dot, as no line reaches it.
constexpr double LoneDotRadius = 1.5;
constexpr double LegendSpacing = 14; // name to the next swatch
// How much of its colour a hidden line's legend entry keeps.
constexpr double HiddenEntryStrength = 0.35;

// Dark enough to read as text on a light background, and far enough apart
// to tell the lines of a typical measurement apart.
constexpr QRgb FixedColours[] = {
    0x1f77b4, // blue
    0xd62728, // red
    0x2ca02c, // green
    0xe66100, // orange
    0x9467bd, // purple
    0x8c564b, // brown
    0xc51b7d, // magenta
    0x17808a, // teal
    0x6b6b6b, // grey
    0x808000, // olive
    0x000075, // navy
    0x800000, // maroon
    0x005f00, // dark green
    0xb8860b, // goldenrod
    0x4b0082, // indigo
    0xf032e6, // violet
    0x0000ff, // bright blue
    0xff4500, // orange red
    0x00a86b, // jade
    0x5d4037, // dark brown
};
constexpr int FixedColourCount = int(std::size(FixedColours));
// Series past the fixed colours take hues a golden angle apart.
constexpr double GoldenAngle = 137.508;

QColor Blend(const QColor& from, const QColor& to, double share) {
    const auto mix = [share](double a, double b) { return a + (b - a) * share; };
    return QColor::fromRgbF(float(mix(from.redF(), to.redF())),
                            float(mix(from.greenF(), to.greenF())),
                            float(mix(from.blueF(), to.blueF())));
}

// The points [begin, end) of one line. With more points than pixel
// columns, each column's run of points gives its first, lowest, highest and
// last value, which draw the same picture as all of them.
QPolygonF LinePoints(const std::vector<qint64>& times, const std::vector<double>& values,
                     size_t begin, size_t end, const PlotArea& area) {
    QPolygonF line;
    if (double(end - begin) <= area.Rect().width()) {
        line.reserve(qsizetype(end - begin));
        for (size_t i = begin; i < end; ++i)
            line.append({area.X(double(times[i])), area.Y(values[i])});
        return line;
    }
    line.reserve(4 * qsizetype(area.Rect().width() + 2));
    size_t i = begin;
    while (i < end) {
        const double column = std::floor(area.X(double(times[i])));
        // Times compared rather than positions: two comparisons a point.
        const double columnStart = area.Ms(column);
        const double columnEnd = area.Ms(column + 1);
        const double first = values[i];
        double lowest = first;
        double highest = first;
        const size_t runStart = i;
        for (++i; i < end && double(times[i]) >= columnStart && double(times[i]) < columnEnd; ++i) {
            lowest = std::min(lowest, values[i]);
            highest = std::max(highest, values[i]);
        }
        const double x = column + 0.5;
        line.append({x, area.Y(first)});
        if (i - runStart > 1) {
            line.append({x, area.Y(lowest)});
            line.append({x, area.Y(highest)});
            line.append({x, area.Y(values[i - 1])});
        }
    }
    return line;
}

// Vertical centres for labels wanted at `centres`, moved apart just enough
// that none overlaps the next, all within [top, bottom]; where they cannot
// all fit, they share the height evenly.
std::vector<double> SpreadLabels(std::vector<double> centres, double height, double top,
                                 double bottom) {
    std::vector<size_t> order(centres.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::sort(order.begin(), order.end(),
              [&centres](size_t a, size_t b) { return centres[a] < centres[b]; });
    const double room = bottom - top - height;
    if (order.size() > 1 && double(order.size()) * height > bottom - top) {
        for (size_t k = 0; k < order.size(); ++k)
            centres[order[k]] = top + height / 2 + room * double(k) / double(order.size() - 1);
        return centres;
    }
    double limit = top + height / 2;
    for (const size_t label : order) {
        centres[label] = std::max(centres[label], limit);
        limit = centres[label] + height;
    }
    limit = bottom - height / 2;
    for (auto label = order.rbegin(); label != order.rend(); ++label) {
        centres[*label] = std::min(centres[*label], limit);
        limit = centres[*label] - height;
    }
    return centres;
}

} // namespace

namespace PlotPainting {

QColor LineColour(int series, const QPalette& colours) {
    const QColor colour = series < FixedColourCount
                              ? QColor(FixedColours[series])
                              : QColor::fromHsv(int(series * GoldenAngle) % 360, 220, 170);
    // On a dark background the same hues, lightened to stay readable.
    const bool dark = colours.color(QPalette::Base).lightness() < 128;
    return dark ? Blend(colour, Qt::white, 0.45) : colour;
}

QList<QRectF> LegendEntries(const QList<double>& widths, double availableWidth, double lineHeight) {
    QList<QRectF> entries;
    QPointF at(Margin, Margin);
    for (const double entryWidth : widths) {
        if (at.x() > Margin && at.x() + entryWidth > availableWidth)
            at = QPointF(Margin, at.y() + lineHeight);
        entries.append(QRectF(at, QSizeF(entryWidth, lineHeight)));
        at.rx() += entryWidth + LegendSpacing;
    }
    return entries;
}

int TicksThatFit(double length, double spacing) {
    return std::clamp(int(length / spacing), 2, AxisTicks::DefaultMaxTicks);
}

std::vector<std::pair<double, double>> StackedBands(double top, double bottom, int count,
                                                    double gap) {
    std::vector<std::pair<double, double>> bands;
    const double height = (bottom - top - gap * (count - 1)) / count;
    for (int band = 0; band < count; ++band) {
        const double bandTop = top + band * (height + gap);
        bands.emplace_back(bandTop, bandTop + height);
    }
    return bands;
}

QString SeriesName(const QStringList& names, int series) {
    if (!names.value(series).isEmpty())
        return names.at(series);
    return QCoreApplication::translate("MeasurePlot", "value %1").arg(series + 1);
}

void DrawAxes(QPainter& painter, const PlotArea& area, const AxisScale& values,
              const AxisScale& times, const QPalette& colours, double timeLabelWidth,
              bool timeLabels) {
    const QRectF& plot = area.Rect();
    const QColor background = colours.color(QPalette::Base);
    const QColor text = colours.color(QPalette::Text);
    painter.setPen(QPen(Blend(background, text, 0.15), 0));
    for (const AxisTick& tick : values.Ticks)
        painter.drawLine(QPointF(plot.left(), area.Y(tick.Position)),
                         QPointF(plot.right(), area.Y(tick.Position)));
    for (const AxisTick& tick : times.Ticks)
        painter.drawLine(QPointF(area.X(tick.Position), plot.top()),
                         QPointF(area.X(tick.Position), plot.bottom()));
    painter.setPen(QPen(Blend(background, text, 0.5), 0));
    painter.drawRect(plot);

    painter.setPen(text);
    const double lineHeight = QFontMetricsF(painter.font()).height();
    for (const AxisTick& tick : values.Ticks) {
        const QRectF box(0, area.Y(tick.Position) - lineHeight / 2, plot.left() - LabelGap,
                         lineHeight);
        painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, tick.Label);
    }
    for (const AxisTick& tick : timeLabels ? times.Ticks : QList<AxisTick>()) {
        const QRectF box(area.X(tick.Position) - timeLabelWidth / 2, plot.bottom() + LabelGap,
                         timeLabelWidth, lineHeight);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, tick.Label);
    }
}

QPointF DrawLine(QPainter& painter, const std::vector<qint64>& times,
                 const std::vector<double>& values, const std::vector<size_t>& breaks,
                 const PlotArea& area, const QColor& colour) {
    size_t first = 0;
    for (size_t piece = 0; piece <= breaks.size(); ++piece) {
        const size_t last = piece < breaks.size() ? breaks[piece] : times.size();
        if (last - first == 1) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(colour);
            painter.drawEllipse(QPointF(area.X(double(times[first])), area.Y(values[first])),
                                LoneDotRadius, LoneDotRadius);
            painter.setBrush(Qt::NoBrush);
        } else if (last > first) {
            painter.setPen(QPen(colour, LineWidth));
            painter.drawPolyline(LinePoints(times, values, first, last, area));
        }
        first = last;
    }
    const QPointF end(area.X(double(times.back())), area.Y(values.back()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(end, MarkerRadius, MarkerRadius);
    painter.setBrush(Qt::NoBrush);
    return end;
}

void DrawLatestValues(QPainter& painter, const std::vector<LatestValue>& latest, const QRectF& plot,
                      double widestText) {
    std::vector<double> centres;
    for (const LatestValue& value : latest)
        centres.push_back(value.LineEnd.y());
    const double lineHeight = QFontMetricsF(painter.font()).height();
    centres = SpreadLabels(centres, lineHeight, plot.top(), plot.bottom());
    for (size_t i = 0; i < latest.size(); ++i) {
        painter.setPen(latest[i].Colour);
        const QPointF at(latest[i].LineEnd.x() + 2 * MarkerRadius, centres[i] - lineHeight / 2);
        painter.drawText(QRectF(at, QSizeF(widestText + 1, lineHeight)),
                         Qt::AlignLeft | Qt::AlignVCenter, latest[i].Text);
    }
}

void DrawLegend(QPainter& painter, const QList<QRectF>& entries, const QStringList& names,
                const QList<QColor>& lineColours, const QList<bool>& shown,
                const QPalette& colours) {
    const QColor background = colours.color(QPalette::Base);
    const QColor text = colours.color(QPalette::Text);
    const QFont plain = painter.font();
    QFont struck = plain;
    struck.setStrikeOut(true);
    for (int series = 0; series < entries.size(); ++series) {
        const QRectF& entry = entries[series];
        const bool visible = shown[series];
        const QColor swatch = visible ? lineColours[series]
                                      : Blend(background, lineColours[series], HiddenEntryStrength);
        painter.setPen(QPen(swatch, 2 * LineWidth));
        painter.drawLine(QPointF(entry.left(), entry.center().y()),
                         QPointF(entry.left() + SwatchLength, entry.center().y()));
        painter.setPen(visible ? text : Blend(background, text, HiddenEntryStrength));
        painter.setFont(visible ? plain : struck);
        painter.drawText(entry.adjusted(SwatchLength + LegendGap, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter, SeriesName(names, series));
    }
    painter.setFont(plain);
}

void DrawNotice(QPainter& painter, const QRectF& area, const QPalette& colours,
                const QString& notice) {
    painter.setPen(colours.color(QPalette::PlaceholderText));
    painter.drawText(area, Qt::AlignCenter, notice);
}

} // namespace PlotPainting
