#pragma once

#include <QString>

class ISettingsStore;

// The Measure tab's method and repeat interval, kept in the settings store
// at each press of "Measure", so that the next run starts from the last
// ones used. What the store holds is checked when it is read back: an
// unknown method or an interval out of range gives the defaults.
struct MeasureChoices {
    static constexpr int MaxRepeatSeconds = 24 * 60 * 60;

    QString Method = QStringLiteral("M");
    int RepeatSeconds = 0;

    static MeasureChoices Load(const ISettingsStore& store);
    // Empty when stored; otherwise why not, as a sentence.
    QString Save(ISettingsStore& store) const;
};
