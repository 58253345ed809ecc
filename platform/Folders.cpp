#include "platform/Folders.h"

#include "version/InstallDirs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// The folder is created when missing, as the system's per-user folders are;
// one that cannot be had reads as empty.
QString SystemFolders::UserDataFolder() const {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    return folder;
}

QString ProgramFolderFor(const QString& executableFolder) {
    const QString installed = QDir::cleanPath(executableFolder + QLatin1Char('/') +
                                              QLatin1String(ProbeTermVersion::DataDirFromBinDir));
    return QFileInfo(installed).isDir() ? installed : executableFolder;
}

QString SystemFolders::ProgramFolder() const {
    return ProgramFolderFor(QCoreApplication::applicationDirPath());
}
