#pragma once

#include "platform/Folders.h"

#include <QTemporaryDir>

// Both folders of the program inside one temporary folder that is removed
// with the object: <tmp>/data and <tmp>/program.
class TempFolders : public IFolders {
public:
    TempFolders();
    QString UserDataFolder() const override { return m_userData; }
    QString ProgramFolder() const override { return m_program; }
    QString Root() const { return m_root.path(); }
    // Lets a test pretend the system has no per-user folder.
    void setUserDataFolder(const QString& folder) { m_userData = folder; }

private:
    QTemporaryDir m_root;
    QString m_userData;
    QString m_program;
};
