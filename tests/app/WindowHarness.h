#pragma once

#include "app/frmSDI12.h"
#include "link/ui/SensorLink.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingShell.h"
#include "support/ScriptedFileDialog.h"
#include "support/TempFolders.h"
#include "timer/CTimer.h"

#include <memory>

// The real main window over fake platform pieces. The receive timer is
// stopped so that a test drives each tick itself, advancing the fake clock.
struct WindowHarness {
    FakeSerialPort Serial;
    FakeClock Clock;
    TempFolders Folders;
    MemorySettingsStore Settings;
    RecordingMessageBox Messages;
    ScriptedFileDialog Dialog;
    RecordingShell Shell;
    std::unique_ptr<frmSDI12> Window;

    explicit WindowHarness(const QStringList& ports = {QStringLiteral("/dev/ttyUSB0")},
                           IFolders* folders = nullptr) {
        Serial.setPortNamesForTest(ports);
        Platform platform;
        platform.Sax = &Serial;
        platform.Clock = &Clock;
        platform.Folders = folders ? folders : &Folders;
        platform.Settings = &Settings;
        platform.MessageBox = &Messages;
        platform.FileDialog = &Dialog;
        platform.Shell = &Shell;
        Window = std::make_unique<frmSDI12>(platform);
        Window->tmrRcv->setEnabled(false);
    }

    // One reception tick, 10 ms after the previous one.
    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            Clock.Advance(10);
            Window->Link().tmrRcv_Timer();
        }
    }

    QString Panel(int panel) const;
};
