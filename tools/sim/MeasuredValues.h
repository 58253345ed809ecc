#pragma once

#include <string>
#include <vector>

// The values the simulated sensor measures, each as it goes on the line: a
// sign, then digits with an optional decimal point ("+21.37", "-0.12").
// They drift slowly and without jumps with the count of measurements the
// sensor has taken, so that one run always gives the same series.
namespace MeasuredValues {

// Values of the measurement with this index (0 for M, C and R0; 1 for M1,
// C1 and R1 ...) at the `reading`-th measurement; none for an index the
// sensor does not measure. 0: air temperature, pressure and supply voltage;
// 1: a temperature profile of nine depths, too long for one data answer;
// 2: relative humidity; 3: water level and flow velocity.
std::vector<std::string> of(int index, int reading);

// The outcome of the sensor's self-test: a status (0: sound), its reference
// voltage and its supply voltage.
std::vector<std::string> verification(int reading);

// The values of one data answer may take 35 characters after an M; the
// sensor keeps to that for its C answers too, which may take more.
inline constexpr std::size_t kDataAnswerLength = 35;

// The values in the groups of the data answers D0, D1 ..., each group at
// most kDataAnswerLength characters long.
std::vector<std::string> intoDataAnswers(const std::vector<std::string>& values);

// The values one after the other, as one answer carries them.
std::string joined(const std::vector<std::string>& values);

} // namespace MeasuredValues
