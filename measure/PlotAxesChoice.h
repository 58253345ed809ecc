#pragma once

#include <QString>

class ISettingsStore;

// Whether the Measure tab's plot gives each value an axis of its own, or
// draws every value against one shared axis. One axis per value is the
// first choice: values of different sizes (a temperature of 21, a pressure
// of 1013) then all read, none flattened by another. The operator's choice
// is kept in the settings store when it changes; what the store holds is
// checked when it is read back, and anything else gives the first choice.
namespace PlotAxesChoice {

bool LoadOneAxisPerValue(const ISettingsStore& store);
// Empty when stored; otherwise why not, as a sentence.
QString SaveOneAxisPerValue(ISettingsStore& store, bool oneAxisPerValue);

} // namespace PlotAxesChoice
