#pragma once

#include "measure/RetryRule.h"

#include <QString>

class ISettingsStore;

// The Sensors tab's settings, kept in the settings store as they change:
// whether commands retry as SDI-12 recorders do (on unless turned off) and
// the first-byte time-out of each try. What the store holds is checked when
// read back: a value out of range gives the default.
struct SensorsChoices {
    RetrySettings Retries{true, RetrySettings::DefaultFirstByteTimeoutMs};

    static SensorsChoices load(const ISettingsStore& store);
    // Empty when stored; otherwise why not, as a sentence.
    QString save(ISettingsStore& store) const;
};
