#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

// What the Debian package database says about an installed package.
struct PackageRecord {
    QString Name;
    QString Architecture;
    QString Version;
    QString Maintainer;
    QString Summary; // the first line of the description
};

// Maps installed shared objects (file names with ".so") to the packages that
// own them, from dpkg's file lists (info/*.list) and its status file. The
// database is read once, at the first question, however many files are
// asked about afterwards.
class PackageDatabase {
public:
    static constexpr const char* SystemAdminFolder = "/var/lib/dpkg";

    explicit PackageDatabase(QString adminFolder = QString::fromLatin1(SystemAdminFolder));

    // The package that installed the shared object, also when the file is reached
    // through a symbolic link or the other side of the /usr merge (/lib and
    // /usr/lib); nothing when no package owns it.
    std::optional<PackageRecord> OwnerOf(const QString& path);

private:
    void Load();
    std::optional<PackageRecord> OwnerOfListedPath(const QString& path) const;

    QString m_adminFolder;
    bool m_loaded = false;
    std::vector<PackageRecord> m_packages;
    QHash<QByteArray, int> m_packageByPath; // merged-/usr path to index in m_packages
};
