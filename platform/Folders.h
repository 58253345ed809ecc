#pragma once

#include <QString>

// The two folders the program takes from the system: the per-user data
// folder (the log lives under it) and the program's own folder (the sample
// commands file and the licence document lie there).
class IFolders {
public:
    virtual ~IFolders() = default;
    // Full path without a trailing slash; empty when the system has none.
    virtual QString UserDataFolder() const = 0;
    virtual QString ProgramFolder() const = 0;
};

// The program's own folder for an executable in executableFolder: the
// installed data folder (share/probeterm beside bin/) when there is one,
// else the executable's folder itself, as in a build tree.
QString ProgramFolderFor(const QString& executableFolder);

class SystemFolders : public IFolders {
public:
    QString UserDataFolder() const override;
    QString ProgramFolder() const override;
};
