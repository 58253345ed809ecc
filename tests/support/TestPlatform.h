#pragma once

#include "app/Platform.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingShell.h"
#include "support/ScriptedFileDialog.h"
#include "support/TempFolders.h"

// The platform pieces a window test rarely needs real: folders inside a
// temporary folder, the settings in memory, and dialogs and a shell that
// record what they are asked. The serial component and the clock are the
// test's choice.
struct TestPlatform {
    TempFolders Folders;
    MemorySettingsStore Settings;
    RecordingMessageBox Messages;
    ScriptedFileDialog Dialog;
    RecordingShell Shell;

    Platform With(ISerialPort& serial, IClock& clock) {
        Platform platform;
        platform.Sax = &serial;
        platform.Clock = &clock;
        platform.Folders = &Folders;
        platform.Settings = &Settings;
        platform.MessageBox = &Messages;
        platform.FileDialog = &Dialog;
        platform.Shell = &Shell;
        return platform;
    }
};
