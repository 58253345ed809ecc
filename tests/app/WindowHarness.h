#pragma once

#include "app/frmSDI12.h"
#include "link/LinkEngine.h"
#include "support/FakeClock.h"
#include "support/FakeSerialPort.h"
#include "support/TestPlatform.h"
#include "timer/CTimer.h"

#include <memory>

// The real main window over fake platform pieces. The receive timer never
// fires on its own (its interval is 0) so that a test drives each tick
// itself, advancing the fake clock; the link may still switch it on and off.
struct WindowHarness {
    FakeSerialPort Serial;
    FakeClock Clock;
    TestPlatform Pieces;
    MemorySettingsStore& Settings = Pieces.Settings;
    std::unique_ptr<frmSDI12> Window;

    explicit WindowHarness(const QStringList& ports = {QStringLiteral("/dev/ttyUSB0")},
                           IFolders* folders = nullptr) {
        Serial.setPortNamesForTest(ports);
        Serial.setClock(&Clock); // a break takes its 70 ms
        Platform platform = Pieces.With(Serial, Clock);
        if (folders)
            platform.Folders = folders;
        Window = std::make_unique<frmSDI12>(platform);
        Window->tmrRcv->setInterval(0);
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
