#include "measure/AxisTicks.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr int MinimumTicks = 4;
constexpr int MostTicks = 1000;

// Room left on each side of the data, as a share of its span.
constexpr double ValuePadding = 0.05;
constexpr double TimePadding = 0.02;
// A lone value is shown within this share of itself either way (1 either
// way at zero), enough to read its digits off the ticks.
constexpr double LoneValueShare = 0.01;
// Spans narrower than this share of their middle hold steps that a double
// no longer tells apart; far below the seven digits a sensor prints.
constexpr double NarrowestRelativeSpan = 1e-9;
// Below this, steps would be denormal numbers that lose their digits.
constexpr double NarrowestHalfRange = 1e-300;
// Far beyond any number a sensor prints; keeps the range and its steps
// finite.
constexpr double LargestMagnitude = 1e300;

constexpr qint64 MsPerSecond = 1000;
constexpr qint64 MsPerMinute = 60 * MsPerSecond;
constexpr qint64 MsPerHour = 60 * MsPerMinute;
constexpr qint64 MsPerDay = 24 * MsPerHour;
constexpr qint64 ShortestTimeSpanMs = 10 * MsPerSecond;
// The steps that read well on a clock; whole days follow.
constexpr qint64 ClockStepsMs[] = {
    1 * MsPerSecond,  2 * MsPerSecond,  5 * MsPerSecond, 10 * MsPerSecond, 15 * MsPerSecond,
    30 * MsPerSecond, 1 * MsPerMinute,  2 * MsPerMinute, 5 * MsPerMinute,  10 * MsPerMinute,
    15 * MsPerMinute, 30 * MsPerMinute, 1 * MsPerHour,   2 * MsPerHour,    3 * MsPerHour,
    6 * MsPerHour,    12 * MsPerHour};
constexpr int ClockStepCount = int(std::size(ClockStepsMs));

// 1, 2 or 5 x 10^Exponent.
struct NiceStep {
    int Mantissa = 1;
    int Exponent = 0;

    double Value() const { return Mantissa * std::pow(10.0, Exponent); }
    NiceStep Next() const {
        if (Mantissa == 1)
            return {2, Exponent};
        if (Mantissa == 2)
            return {5, Exponent};
        return {1, Exponent + 1};
    }
};

// The smallest nice step not below `size` (> 0).
NiceStep NiceStepAtLeast(double size) {
    NiceStep step{1, int(std::floor(std::log10(size)))};
    while (step.Value() < size)
        step = step.Next();
    return step;
}

// A clock step, or a nice number of whole days past the clock steps.
struct TimeStep {
    int ClockIndex = 0;
    NiceStep Days;

    double Value() const {
        return ClockIndex < ClockStepCount ? double(ClockStepsMs[ClockIndex])
                                           : Days.Value() * double(MsPerDay);
    }
    TimeStep Next() const {
        if (ClockIndex < ClockStepCount)
            return {ClockIndex + 1, Days};
        return {ClockIndex, Days.Next()};
    }
};

// The ticks origin + k * step for k from First to Last.
struct TickRun {
    qint64 First = 0;
    qint64 Last = -1;

    qint64 Count() const { return Last - First + 1; }
};

TickRun TicksWithin(double min, double max, double origin, double step) {
    return {qint64(std::ceil((min - origin) / step)), qint64(std::floor((max - origin) / step))};
}

// Takes the finest step from `step` on that puts at most `maxTicks` ticks
// in the scale's range, and places them, without labels. Where that step
// leaves fewer than four inside (the 1-2-5 series can jump from nine ticks
// to three), the range grows to the next tick at each end.
template <typename Step> Step PlaceTicks(AxisScale& scale, double origin, Step step, int maxTicks) {
    TickRun run = TicksWithin(scale.Min, scale.Max, origin, step.Value());
    while (run.Count() > maxTicks) {
        step = step.Next();
        run = TicksWithin(scale.Min, scale.Max, origin, step.Value());
    }
    const double size = step.Value();
    if (run.Count() < MinimumTicks && run.Count() + 2 <= maxTicks) {
        run = {run.First - 1, run.Last + 1};
        scale.Min = origin + double(run.First) * size;
        scale.Max = origin + double(run.Last) * size;
    }
    scale.Step = size;
    for (qint64 k = run.First; k <= run.Last; ++k)
        scale.Ticks.append({origin + double(k) * size, QString()});
    return step;
}

// Plain decimals while the numbers stay short, powers of ten beyond; either
// way no digit finer than the step.
void LabelValues(AxisScale& scale, NiceStep step) {
    double largest = 0;
    for (const AxisTick& tick : std::as_const(scale.Ticks))
        largest = std::max(largest, std::abs(tick.Position));
    const int largestExponent = largest > 0 ? int(std::floor(std::log10(largest))) : step.Exponent;
    const bool scientific = largestExponent >= 8 || step.Exponent < -6;
    for (AxisTick& tick : scale.Ticks) {
        tick.Label = scientific ? QString::number(tick.Position, 'e',
                                                  std::max(0, largestExponent - step.Exponent))
                                : QString::number(tick.Position, 'f', std::max(0, -step.Exponent));
    }
}

void LabelTimes(AxisScale& scale, const QTimeZone& zone) {
    const QString format = scale.Step >= double(MsPerDay)      ? QStringLiteral("yyyy-MM-dd")
                           : scale.Step >= double(MsPerMinute) ? QStringLiteral("hh:mm")
                                                               : QStringLiteral("hh:mm:ss");
    for (AxisTick& tick : scale.Ticks)
        tick.Label = QDateTime::fromMSecsSinceEpoch(qint64(tick.Position), zone).toString(format);
}

} // namespace

AxisScale AxisTicks::ValueAxis(double low, double high, int maxTicks) {
    maxTicks = std::clamp(maxTicks, 2, MostTicks);
    if (low > high)
        std::swap(low, high);
    low = std::max(low, -LargestMagnitude);
    high = std::min(high, LargestMagnitude);
    const double middle = (low + high) / 2;
    const double halfSpan = (high - low) / 2;
    double halfRange = halfSpan * (1 + 2 * ValuePadding);
    if (halfSpan == 0)
        halfRange = middle == 0 ? 1 : std::abs(middle) * LoneValueShare;
    halfRange = std::max({halfRange, std::abs(middle) * NarrowestRelativeSpan, NarrowestHalfRange});
    AxisScale scale;
    scale.Min = middle - halfRange;
    scale.Max = middle + halfRange;
    const NiceStep step = PlaceTicks(scale, 0, NiceStepAtLeast(2 * halfRange / maxTicks), maxTicks);
    LabelValues(scale, step);
    return scale;
}

AxisScale AxisTicks::TimeAxis(qint64 firstMs, qint64 lastMs, int maxTicks, const QTimeZone& zone) {
    maxTicks = std::clamp(maxTicks, 2, MostTicks);
    const double first = double(std::min(firstMs, lastMs));
    const double last = double(std::max(firstMs, lastMs));
    const double halfSpan = (last - first) / 2;
    const double halfRange =
        std::max(halfSpan * (1 + 2 * TimePadding), double(ShortestTimeSpanMs) / 2);
    AxisScale scale;
    scale.Min = first + halfSpan - halfRange;
    scale.Max = first + halfSpan + halfRange;
    // Ticks fall on whole units of the local clock: the origin is the
    // epoch's local midnight. Its offset is taken at the range's start, so
    // after a daylight-saving change within the range the steps of more than
    // an hour sit an hour off the round hours.
    const qint64 offsetMs =
        QDateTime::fromMSecsSinceEpoch(qint64(scale.Min), zone).offsetFromUtc() * MsPerSecond;
    PlaceTicks(scale, -double(offsetMs), TimeStep(), maxTicks);
    LabelTimes(scale, zone);
    return scale;
}
