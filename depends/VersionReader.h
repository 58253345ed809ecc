#pragma once

#include "depends/PackageDatabase.h"
#include "depends/VersionStrings.h"

#include <QString>

// Reads the eight version strings of a module file; returns the status.
class IVersionReader {
public:
    virtual ~IVersionReader() = default;
    virtual VersionReadStatus GetVersionStrings(const QString& path, VersionStrings& strings) = 0;
};

// A file that carries the program's own version record is read from that
// record. Any other file is described by the Debian package that installed
// it: product = package, versions = package version, company = maintainer,
// description = the package's summary.
class SystemVersionReader : public IVersionReader {
public:
    explicit SystemVersionReader(
        QString packageAdminFolder = QString::fromLatin1(PackageDatabase::SystemAdminFolder));

    VersionReadStatus GetVersionStrings(const QString& path, VersionStrings& strings) override;

private:
    PackageDatabase m_packages;
};
