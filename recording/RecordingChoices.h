#pragma once

#include "recording/RecordFile.h"

#include <QString>

class ISettingsStore;

// The recording's remembered choices: a new file each UTC day or one file,
// time stamps in UTC or in local time with their offset, and the file last
// recorded to, from which the file dialog starts.
struct RecordingChoices {
    RecordOptions Options;
    QString LastFile;

    static RecordingChoices Load(const ISettingsStore& store);
    // Empty when stored; otherwise why not, as a sentence.
    QString Save(ISettingsStore& store) const;
};
