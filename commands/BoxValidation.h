#pragma once

#include <QString>
#include <optional>

// The timing boxes keep themselves numeric: an empty box stays empty; any
// other text becomes the shortest decimal text of its leading number,
// raised to 0 when negative and lowered to the box's upper limit, if any.
namespace BoxValidation {

constexpr double RepeatCountLimit = 99;
constexpr double RepeatDelayLimit = 65535;

QString Normalize(const QString& text, std::optional<double> upperLimit);

} // namespace BoxValidation
