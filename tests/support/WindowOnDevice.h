#pragma once

#include "app/frmSDI12.h"
#include "platform/Clock.h"
#include "platform/FileSettingsStore.h"
#include "platform/serial/TermiosSerialPort.h"
#include "platform/ui/DropDownComboBox.h"
#include "support/TempFolders.h"
#include "support/TestPlatform.h"

#include <QTest>

#include <memory>

// One run of the program on the real serial component and clock, its files
// and settings in `folders`, opened on a device (the simulator's
// pseudo-terminal) as the operator would: the path typed into the port box
// and committed.
struct WindowOnDevice {
    TermiosSerialPort Serial;
    SystemClock Clock;
    TestPlatform Pieces;
    FileSettingsStore Settings;
    std::unique_ptr<frmSDI12> Window;

    WindowOnDevice(TempFolders& folders, const QString& devicePath)
        : Settings(folders.Root() + QLatin1String("/settings.json")) {
        Platform platform = Pieces.With(Serial, Clock);
        platform.Folders = &folders;
        platform.Settings = &Settings;
        Window = std::make_unique<frmSDI12>(platform);
        Window->cboLines->setEditText(devicePath);
        QTest::keyClick(Window->cboLines, Qt::Key_Return);
    }
};
