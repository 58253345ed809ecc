#pragma once

#include <QString>
#include <optional>

// The timing boxes keep themselves numeric: an empty box stays empty; any
// other text becomes the shortest decimal text of its leading number,
// raised to 0 when negative and lowered to the box's upper limit, if any.
// While the operator types, a text that is only the beginning of a number
// ("2.", "-", "1E") is left as typed, so that the next key can finish it;
// it is normalised when the box is left or its value is read.
namespace BoxValidation {

constexpr double RepeatCountLimit = 99;
constexpr double RepeatDelayLimit = 65535;

QString Normalize(const QString& text, std::optional<double> upperLimit);

// A sign alone, or digits ending in a decimal point or in an exponent's
// letter or sign: a number still being typed.
bool IsUnfinishedNumber(const QString& text);

// What a keystroke leaves in the box: the text as typed while it is an
// unfinished number, else its normal form.
QString NormalizeWhileTyping(const QString& text, std::optional<double> upperLimit);

} // namespace BoxValidation
