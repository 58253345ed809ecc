#include "measure/ui/MeasurePlot.h"

#include "measure/AxisTicks.h"
#include "measure/ui/PlotPainting.h"

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

using namespace PlotPainting;

MeasurePlot::MeasurePlot(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The Menu key opens the context menu of the focused widget only.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Plot of the measured values"));
    setAccessibleDescription(tr("Left and Right choose a value in the legend; Space shows or "
                                "hides its line"));
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
        series.Points.append(ms, value);
        series.Range.Include(value, value);
        m_times.FirstMs = std::min(m_times.FirstMs, ms);
        m_times.LastMs = std::max(m_times.LastMs, ms);
    }
    update();
}

void MeasurePlot::BreakLines() {
    for (Series& series : m_series)
        series.Points.breakHere();
}

void MeasurePlot::BreakLines(const QList<int>& series) {
    for (const int line : series) {
        if (line >= 0 && size_t(line) < m_series.size())
            m_series[size_t(line)].Points.breakHere();
    }
}

void MeasurePlot::SetSeriesNames(const QStringList& names) {
    if (names == m_names)
        return;
    m_names = names;
    update();
}

void MeasurePlot::Clear() {
    m_series.clear();
    m_times = TimeSpan();
    m_pressedEntry = -1;
    m_currentEntry = 0;
    update();
}

void MeasurePlot::SetOneAxisPerValue(bool oneAxisPerValue) {
    if (m_oneAxisPerValue == oneAxisPerValue)
        return;
    m_oneAxisPerValue = oneAxisPerValue;
    update();
}

qsizetype MeasurePlot::PointCount(int series) const {
    if (series < 0 || series >= SeriesCount())
        return 0;
    return qsizetype(m_series[size_t(series)].Points.size());
}

QColor MeasurePlot::SeriesColour(int series) const {
    return PlotPainting::LineColour(series, palette());
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

AxisScale MeasurePlot::ValueAxis(int series) const {
    if (m_times.IsEmpty())
        return {};
    for (const Panel& panel : Panels(CurrentLayout())) {
        if (std::find(panel.Series.begin(), panel.Series.end(), series) != panel.Series.end())
            return panel.Values;
    }
    return {};
}

int MeasurePlot::CurrentLegendEntry() const {
    return m_times.IsEmpty() ? -1 : std::clamp(m_currentEntry, 0, SeriesCount() - 1);
}

MeasurePlot::Layout MeasurePlot::CurrentLayout() const {
    const QFontMetricsF metrics(font());
    Layout layout;
    layout.LineHeight = metrics.height();
    QList<double> legendWidths;
    for (int series = 0; series < SeriesCount(); ++series)
        legendWidths.append(SwatchLength + LegendGap +
                            metrics.horizontalAdvance(SeriesName(m_names, series)));
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

std::vector<MeasurePlot::Panel> MeasurePlot::Panels(const Layout& layout) const {
    std::vector<int> drawn;
    for (int series = 0; series < SeriesCount(); ++series) {
        if (m_series[size_t(series)].Visible && !m_series[size_t(series)].Points.empty())
            drawn.push_back(series);
    }
    const auto axis = [&layout](const ValueRange& range, double top, double bottom) {
        return AxisTicks::ValueAxis(range.Lowest, range.Highest,
                                    TicksThatFit(bottom - top, 2 * layout.LineHeight));
    };
    if (drawn.empty())
        return {};
    if (!m_oneAxisPerValue)
        return {{layout.Top, layout.Bottom, axis(ShownRange(), layout.Top, layout.Bottom), drawn}};
    std::vector<Panel> panels;
    const std::vector<std::pair<double, double>> bands =
        StackedBands(layout.Top, layout.Bottom, int(drawn.size()), layout.LineHeight);
    for (size_t i = 0; i < drawn.size(); ++i) {
        const auto [top, bottom] = bands[i];
        panels.push_back(
            {top, bottom, axis(m_series[size_t(drawn[i])].Range, top, bottom), {drawn[i]}});
    }
    return panels;
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
    // The focus shows on the legend entry that Space toggles, or on the
    // whole plot while there is no legend.
    if (hasFocus()) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.backgroundColor = colours.color(QPalette::Base);
        const int entry = CurrentLegendEntry();
        if (entry >= 0)
            frame.rect = LegendEntryRect(entry).adjusted(-2, 0, 2, 0);
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
        const bool drawn = series.Visible && !series.Points.empty();
        latestValues.append(drawn ? QString::number(series.Points.values().back(), 'g', 7)
                                  : QString());
        widestLatest = std::max(widestLatest, metrics.horizontalAdvance(latestValues.last()));
    }

    const std::vector<Panel> panels = Panels(layout);
    if (panels.empty()) {
        DrawNotice(painter, QRectF(0, layout.Top, width(), layout.Bottom - layout.Top), colours,
                   tr("All values hidden: click one in the legend to show it"));
    } else {
        // The value axes first: their labels' width sets where the time axis starts.
        double widestValue = 0;
        for (const Panel& panel : panels) {
            for (const AxisTick& tick : panel.Values.Ticks)
                widestValue = std::max(widestValue, metrics.horizontalAdvance(tick.Label));
        }
        const double left = Margin + widestValue + LabelGap;
        const double right = width() - Margin - widestLatest - 2 * MarkerRadius;
        const bool roomForPanels = std::all_of(
            panels.begin(), panels.end(), [](const Panel& p) { return p.Bottom - p.Top >= 1; });
        if (right - left >= 1 && roomForPanels) {
            // "0000-00-00", the widest label, fits in this with room to spare.
            const double timeLabelWidth = metrics.horizontalAdvance(QStringLiteral("00:00:00")) +
                                          2 * metrics.horizontalAdvance(QLatin1Char('0'));
            const AxisScale times = AxisTicks::TimeAxis(m_times.FirstMs, m_times.LastMs,
                                                        TicksThatFit(right - left, timeLabelWidth));
            for (const Panel& panel : panels) {
                const PlotArea area(QRectF(QPointF(left, panel.Top), QPointF(right, panel.Bottom)),
                                    times, panel.Values);
                // The time labels once, under the lowest panel.
                const bool lowest = &panel == &panels.back();
                DrawAxes(painter, area, panel.Values, times, colours, timeLabelWidth, lowest);
                std::vector<LatestValue> latest;
                for (const int series : panel.Series) {
                    const ThinnedLine& points = m_series[size_t(series)].Points;
                    const QPointF end = DrawLine(painter, points.timesMs(), points.values(),
                                                 points.breaks(), area, lineColours[series]);
                    latest.push_back({end, latestValues[series], lineColours[series]});
                }
                DrawLatestValues(painter, latest, area.Rect(), widestLatest);
            }
        }
    }
    DrawLegend(painter, layout.Legend, m_names, lineColours, shown, colours);
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
        LegendEntryAt(event->position()) == pressed) {
        m_currentEntry = pressed;
        SetSeriesVisible(pressed, !IsSeriesVisible(pressed));
    } else {
        QWidget::mouseReleaseEvent(event);
    }
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
    const int entry = CurrentLegendEntry();
    if (entry < 0 || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        m_currentEntry = std::max(entry - 1, 0);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        m_currentEntry = std::min(entry + 1, SeriesCount() - 1);
        break;
    case Qt::Key_Home:
        m_currentEntry = 0;
        break;
    case Qt::Key_End:
        m_currentEntry = SeriesCount() - 1;
        break;
    case Qt::Key_Space:
        SetSeriesVisible(entry, !IsSeriesVisible(entry));
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    update();
}

void MeasurePlot::focusInEvent(QFocusEvent* event) {
    update(); // for the focus frame
    QWidget::focusInEvent(event);
}

void MeasurePlot::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

void MeasurePlot::contextMenuEvent(QContextMenuEvent* event) {
    if (m_times.IsEmpty()) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    for (int series = 0; series < SeriesCount(); ++series) {
        QAction* toggle = menu.addAction(SeriesName(m_names, series));
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
