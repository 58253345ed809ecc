#pragma once

#include <QList>
#include <QString>
#include <QTimeZone>
#include <QtGlobal>

// Where the plot's axes run and where their ticks fall.
struct AxisTick {
    double Position = 0; // a value, or milliseconds since the epoch on the time axis
    QString Label;
};

struct AxisScale {
    double Min = 0;
    double Max = 1;
    double Step = 1; // between neighbouring ticks
    QList<AxisTick> Ticks;
};

// Autoscale with ticks at "nice" steps, between four and `maxTicks` of them
// when `maxTicks` leaves room for four. The range covers the data with a
// little room on each side, so no point sits on the plot's frame; a range
// of one value, or one too narrow for a double to resolve, is widened about
// its middle. The caller leaves out NaN and infinities.
namespace AxisTicks {

constexpr int DefaultMaxTicks = 8;

// Ticks at 1, 2 or 5 x 10^k, labelled with a "." and as many decimals as the
// step needs ("0.25", "1013", "1.5e+09" for very large or small numbers).
AxisScale ValueAxis(double low, double high, int maxTicks = DefaultMaxTicks);

// Ticks at whole seconds, minutes, hours or days of the clock in `zone`,
// labelled "hh:mm:ss", "hh:mm" from a step of a minute on, "yyyy-MM-dd"
// from a step of a day on. Spans under ten seconds widen to ten.
AxisScale TimeAxis(qint64 firstMs, qint64 lastMs, int maxTicks = DefaultMaxTicks,
                   const QTimeZone& zone = QTimeZone::systemTimeZone());

} // namespace AxisTicks
