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

// In a build tree the program's folder is the executable's; an installed
// program (bin/probeterm) keeps its files in share/probeterm beside bin/.
QString SystemFolders::ProgramFolder() const {
    const QString executableFolder = QCoreApplication::applicationDirPath();
    const QDir executableDir(executableFolder);
    if (executableDir.dirName() == QLatin1String("bin")) {
        const QString installed =
            QDir::cleanPath(executableFolder + QLatin1String("/../") +
                            QLatin1String(ProbeTermVersion::InstalledDataDir));
        if (QFileInfo(installed).isDir())
            return installed;
    }
    return executableFolder;
}
