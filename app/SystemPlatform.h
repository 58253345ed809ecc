#pragma once

#include "app/Platform.h"

#include <memory>

// The real platform pieces: the termios serial port, the system clock and
// folders, the settings store file and the Qt dialogs and shell.
class SystemPlatform {
public:
    SystemPlatform();
    ~SystemPlatform();

    Platform Pieces() const;

private:
    std::unique_ptr<ISerialPort> m_serial;
    std::unique_ptr<IClock> m_clock;
    std::unique_ptr<IFolders> m_folders;
    std::unique_ptr<ISettingsStore> m_settings;
    std::unique_ptr<IMessageBox> m_messageBox;
    std::unique_ptr<IFileDialog> m_fileDialog;
    std::unique_ptr<IShell> m_shell;
};
