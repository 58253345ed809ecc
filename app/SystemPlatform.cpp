#include "app/SystemPlatform.h"

#include "platform/Clock.h"
#include "platform/FileSettingsStore.h"
#include "platform/Folders.h"
#include "platform/serial/TermiosSerialPort.h"
#include "platform/ui/DesktopShell.h"
#include "platform/ui/QtFileDialog.h"
#include "platform/ui/QtMessageBox.h"

SystemPlatform::SystemPlatform()
    : m_serial(std::make_unique<TermiosSerialPort>()), m_clock(std::make_unique<SystemClock>()),
      m_folders(std::make_unique<SystemFolders>()),
      m_settings(std::make_unique<FileSettingsStore>()),
      m_messageBox(std::make_unique<QtMessageBox>()),
      m_fileDialog(std::make_unique<QtFileDialog>()), m_shell(std::make_unique<DesktopShell>()) {}

SystemPlatform::~SystemPlatform() = default;

Platform SystemPlatform::Pieces() const {
    Platform pieces;
    pieces.Sax = m_serial.get();
    pieces.Clock = m_clock.get();
    pieces.Folders = m_folders.get();
    pieces.Settings = m_settings.get();
    pieces.MessageBox = m_messageBox.get();
    pieces.FileDialog = m_fileDialog.get();
    pieces.Shell = m_shell.get();
    return pieces;
}
