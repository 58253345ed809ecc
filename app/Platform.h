#pragma once

class IClock;
class IFileDialog;
class IFolders;
class IMessageBox;
class ISerialPort;
class ISettingsStore;
class IShell;

// Everything the main window takes from the operating system. The program
// passes the real pieces; tests pass fakes.
struct Platform {
    ISerialPort* Sax = nullptr;
    IClock* Clock = nullptr;
    IFolders* Folders = nullptr;
    ISettingsStore* Settings = nullptr;
    IMessageBox* MessageBox = nullptr;
    IFileDialog* FileDialog = nullptr;
    IShell* Shell = nullptr;
};
