#include "measure/ui/MeasurePlot.h"

#include "measure/AxisTicks.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <utility>

namespace {

constexpr double Margin = 6;
constexpr double LabelGap = 4; // axis labels to the plot
constexpr double MarkerRadius = 3;
// Qt strokes lines of one pixel on a fast path; wider ones take its general
// stroker, dozens of times slower over thousands of points.
constexpr double LineWidth = 1;
constexpr double SwatchLength = 16;
constexpr double LegendGap = 4;      // swatch to name
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

// The points of one line. With more points than pixel columns, each
// column's run of points gives its first, lowest, highest and last value,
// which draw the same picture as all of them.
QPolygonF LinePoints(const std::vector<qint64>& times, const std::vector<double>& values,
                     const PlotArea& area) {
    const size_t count = times.size();
    QPolygonF line;
    if (double(count) <= area.Rect().width()) {
        line.reserve(qsizetype(count));
        for (size_t i = 0; i < count; ++i)
            line.append({area.X(double(times[i])), area.Y(values[i])});
        return line;
    }
    line.reserve(4 * qsizetype(area.Rect().width() + 2));
    size_t i = 0;
    while (i < count) {
        const double column = std::floor(area.X(double(times[i])));
        // Times compared rather than positions: two comparisons a point.
        const double columnStart = area.Ms(column);
        const double columnEnd = area.Ms(column + 1);
        const double first = values[i];
        double lowest = first;
        double highest = first;
        const size_t runStart = i;
        for (++i; i < count && double(times[i]) >= columnStart && double(times[i]) < columnEnd;
             ++i) {
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

// Legend entries of the given widths, flowing left to right in rows.
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

// How many ticks fit in `length` pixels with `spacing` or more between them.
int TicksThatFit(double length, double spacing) {
    return std::clamp(int(length / spacing), 2, AxisTicks::DefaultMaxTicks);
}

QString SeriesName(int series) {
    return MeasurePlot::tr("value %1").arg(series + 1);
}

void DrawAxes(QPainter& painter, const PlotArea& area, const AxisScale& values,
              const AxisScale& times, const QPalette& colours, double timeLabelWidth) {
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
    for (const AxisTick& tick : times.Ticks) {
        const QRectF box(area.X(tick.Position) - timeLabelWidth / 2, plot.bottom() + LabelGap,
                         timeLabelWidth, lineHeight);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, tick.Label);
    }
}

// Draws one line with a marker at its last point, and returns that point.
QPointF DrawLine(QPainter& painter, const std::vector<qint64>& times,
                 const std::vector<double>& values, const PlotArea& area, const QColor& colour) {
    painter.setPen(QPen(colour, LineWidth));
    painter.drawPolyline(LinePoints(times, values, area));
    const QPointF end(area.X(double(times.back())), area.Y(values.back()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(end, MarkerRadius, MarkerRadius);
    painter.setBrush(Qt::NoBrush);
    return end;
}

struct LatestValue {
    QPointF LineEnd;
    QString Text;
    QColor Colour;
};

// The latest values stand beside the lines' ends, spread apart where lines
// end close together.
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

// A hidden line's entry stays, faint and struck through, to be clicked back.
void DrawLegend(QPainter& painter, const QList<QRectF>& entries, const QList<QColor>& lineColours,
                const QList<bool>& shown, const QPalette& colours) {
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
                         Qt::AlignLeft | Qt::AlignVCenter, SeriesName(series));
    }
    painter.setFont(plain);
}

void DrawNotice(QPainter& painter, const QRectF& area, const QPalette& colours,
                const QString& notice) {
    painter.setPen(colours.color(QPalette::PlaceholderText));
    painter.drawText(area, Qt::AlignCenter, notice);
}

} // namespace

MeasurePlot::MeasurePlot(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The Menu key opens the context menu of the focused widget only.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Plot of the measured values"));
    setMouseTracking(true); // for the hand over the legend
}

void MeasurePlot::AddMeasurement(const QDateTime& time, const QList<double>& values) {
    if (!time.isValid())
        return;
    const qint64 ms = time.toMSecsSinceEpoch();
    if (m_series.size() < size_t(values.size()))
        m_series.resize(size_t(values.size()));
    for (qsizetype i = 0; i < values.size(); ++i) {
        const double value = values[i];
        if (!std::isfinite(value))
            continue;
        Series& series = m_series[size_t(i)];
        series.TimesMs.push_back(ms);
        series.Values.push_back(value);
        series.Range.Include(value, value);
        m_times.FirstMs = std::min(m_times.FirstMs, ms);
        m_times.LastMs = std::max(m_times.LastMs, ms);
    }
    update();
}

void MeasurePlot::Clear() {
    m_series.clear();
    m_times = TimeSpan();
    m_pressedEntry = -1;
    update();
}

qsizetype MeasurePlot::PointCount(int series) const {
    if (series < 0 || series >= SeriesCount())
        return 0;
    return qsizetype(m_series[size_t(series)].Values.size());
}

QColor MeasurePlot::SeriesColour(int series) const {
    const QColor colour = series < FixedColourCount
                              ? QColor(FixedColours[series])
                              : QColor::fromHsv(int(series * GoldenAngle) % 360, 220, 170);
    // On a dark background the same hues, lightened to stay readable.
    const bool dark = palette().color(QPalette::Base).lightness() < 128;
    return dark ? Blend(colour, Qt::white, 0.45) : colour;
}

void MeasurePlot::SetSeriesVisible(int series, bool visible) {
    if (series < 0 || series >= SeriesCount() || m_series[size_t(series)].Visible == visible)
        return;
    m_series[size_t(series)].Visible = visible;
    update();
}

bool MeasurePlot::IsSeriesVisible(int series) const {
    return series >= 0 && series < SeriesCount() && m_series[size_t(series)].Visible;
}

QRect MeasurePlot::LegendEntryRect(int series) const {
    if (m_times.IsEmpty() || series < 0 || series >= SeriesCount())
        return {};
    return CurrentLayout().Legend[series].toAlignedRect();
}

AxisScale MeasurePlot::ValueAxis() const {
    const ValueRange shown = ShownRange();
    return shown.IsEmpty() ? AxisScale() : ValueAxis(CurrentLayout(), shown);
}

MeasurePlot::Layout MeasurePlot::CurrentLayout() const {
    const QFontMetricsF metrics(font());
    Layout layout;
    layout.LineHeight = metrics.height();
    QList<double> legendWidths;
    for (int series = 0; series < SeriesCount(); ++series)
        legendWidths.append(SwatchLength + LegendGap +
                            metrics.horizontalAdvance(SeriesName(series)));
    layout.Legend = LegendEntries(legendWidths, width() - Margin, layout.LineHeight);
    // Asked for with points only, so the legend has an entry.
    layout.Top = layout.Legend.last().bottom() + Margin + layout.LineHeight / 2;
    layout.Bottom = height() - Margin - layout.LineHeight - LabelGap;
    return layout;
}

MeasurePlot::ValueRange MeasurePlot::ShownRange() const {
    ValueRange shown;
    for (const Series& series : m_series) {
        if (series.Visible)
            shown.Include(series.Range.Lowest, series.Range.Highest);
    }
    return shown;
}

AxisScale MeasurePlot::ValueAxis(const Layout& layout, const ValueRange& shown) const {
    return AxisTicks::ValueAxis(shown.Lowest, shown.Highest,
                                TicksThatFit(layout.Bottom - layout.Top, 2 * layout.LineHeight));
}

int MeasurePlot::LegendEntryAt(const QPointF& position) const {
    if (m_times.IsEmpty())
        return -1;
    const QList<QRectF> legend = CurrentLayout().Legend;
    for (int series = 0; series < legend.size(); ++series) {
        if (legend[series].contains(position))
            return series;
    }
    return -1;
}

void MeasurePlot::ShowAllSeries() {
    for (Series& series : m_series)
        series.Visible = true;
    update();
}

void MeasurePlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    if (m_times.IsEmpty())
        DrawNotice(painter, rect(), colours, tr("No measurements yet"));
    else
        DrawMeasurements(painter);
    if (hasFocus()) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.backgroundColor = colours.color(QPalette::Base);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

void MeasurePlot::DrawMeasurements(QPainter& painter) const {
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette& colours = palette();
    const QFontMetricsF metrics(font());
    const Layout layout = CurrentLayout();

    QList<QColor> lineColours;
    QList<bool> shown;
    QStringList latestValues;
    double widestLatest = 0;
    for (const Series& series : m_series) {
        lineColours.append(SeriesColour(int(lineColours.size())));
        shown.append(series.Visible);
        const bool drawn = series.Visible && !series.Values.empty();
        latestValues.append(drawn ? QString::number(series.Values.back(), 'g', 7) : QString());
        widestLatest = std::max(widestLatest, metrics.horizontalAdvance(latestValues.last()));
    }

    const ValueRange range = ShownRange();
    if (range.IsEmpty()) {
        DrawNotice(painter, QRectF(0, layout.Top, width(), layout.Bottom - layout.Top), colours,
                   tr("All values hidden: click one in the legend to show it"));
    } else {
        // The value axis first: its labels' width sets where the time axis starts.
        const AxisScale values = ValueAxis(layout, range);
        double widestValue = 0;
        for (const AxisTick& tick : values.Ticks)
            widestValue = std::max(widestValue, metrics.horizontalAdvance(tick.Label));
        const double left = Margin + widestValue + LabelGap;
        const double right = width() - Margin - widestLatest - 2 * MarkerRadius;
        if (right - left >= 1 && layout.Bottom - layout.Top >= 1) {
            // "0000-00-00", the widest label, fits in this with room to spare.
            const double timeLabelWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00")) +
                                          2 * metrics.horizontalAdvance(QLatin1Char('0'));
            const AxisScale times = AxisTicks::TimeAxis(m_times.FirstMs, m_times.LastMs,
                                                        TicksThatFit(right - left, timeLabelWidth));
            const PlotArea area(QRectF(QPointF(left, layout.Top), QPointF(right, layout.Bottom)),
                                times, values);
            DrawAxes(painter, area, values, times, colours, timeLabelWidth);
            std::vector<LatestValue> latest;
            for (int series = 0; series < SeriesCount(); ++series) {
                const Series& points = m_series[size_t(series)];
                if (latestValues[series].isEmpty())
                    continue;
                const QPointF end =
                    DrawLine(painter, points.TimesMs, points.Values, area, lineColours[series]);
                latest.push_back({end, latestValues[series], lineColours[series]});
            }
            DrawLatestValues(painter, latest, area.Rect(), widestLatest);
        }
    }
    DrawLegend(painter, layout.Legend, lineColours, shown, colours);
}

void MeasurePlot::mousePressEvent(QMouseEvent* event) {
    m_pressedEntry = event->button() == Qt::LeftButton ? LegendEntryAt(event->position()) : -1;
    if (m_pressedEntry < 0)
        QWidget::mousePressEvent(event);
}

void MeasurePlot::mouseReleaseEvent(QMouseEvent* event) {
    const int pressed = std::exchange(m_pressedEntry, -1);
    // As on a button, a click counts where it ends on the entry it began on.
    if (event->button() == Qt::LeftButton && pressed >= 0 &&
        LegendEntryAt(event->position()) == pressed)
        SetSeriesVisible(pressed, !IsSeriesVisible(pressed));
    else
        QWidget::mouseReleaseEvent(event);
}

void MeasurePlot::mouseMoveEvent(QMouseEvent* event) {
    // The hand tells that a legend entry can be clicked.
    const bool overEntry = LegendEntryAt(event->position()) >= 0;
    if (overEntry != (cursor().shape() == Qt::PointingHandCursor)) {
        if (overEntry)
            setCursor(Qt::PointingHandCursor);
        else
            unsetCursor();
    }
    QWidget::mouseMoveEvent(event);
}

void MeasurePlot::keyPressEvent(QKeyEvent* event) {
    // The platform turns the Menu key into a context menu event; Shift+F10,
    // the key that stands in for it, it leaves to the widget.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint centre = rect().center();
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, centre, mapToGlobal(centre));
        contextMenuEvent(&menuEvent);
        return;
    }
    QWidget::keyPressEvent(event);
}

void MeasurePlot::contextMenuEvent(QContextMenuEvent* event) {
    if (m_times.IsEmpty()) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    for (int series = 0; series < SeriesCount(); ++series) {
        QAction* toggle = menu.addAction(SeriesName(series));
        toggle->setCheckable(true);
        toggle->setChecked(IsSeriesVisible(series));
        connect(toggle, &QAction::toggled, this,
                [this, series](bool visible) { SetSeriesVisible(series, visible); });
    }
    menu.addSeparator();
    QAction* showAll = menu.addAction(tr("Show all"), this, &MeasurePlot::ShowAllSeries);
    showAll->setEnabled(std::any_of(m_series.begin(), m_series.end(),
                                    [](const Series& series) { return !series.Visible; }));
    menu.exec(event->globalPos());
}
