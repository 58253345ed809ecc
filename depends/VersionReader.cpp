#include "depends/VersionReader.h"

#include "depends/OwnVersionRecord.h"

#include <QFileInfo>

#include <utility>

namespace {

std::optional<QString> Present(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

// "Name <address>" gives "Name".
QString MaintainerName(const QString& maintainer) {
    const qsizetype address = maintainer.indexOf(QLatin1Char('<'));
    return address > 0 ? maintainer.left(address).trimmed() : maintainer;
}

// The version record that a package entry gives one of its files.
VersionLookUp PackageVersionRecord(const PackageRecord& package, const QString& path) {
    return [package, path](const QString& name) -> std::optional<QString> {
        if (name == QLatin1String("CompanyName"))
            return Present(MaintainerName(package.Maintainer));
        if (name == QLatin1String("FileDescription"))
            return Present(package.Summary);
        if (name == QLatin1String("FileVersion") || name == QLatin1String("ProductVersion"))
            return Present(package.Version);
        if (name == QLatin1String("InternalName"))
            return Present(QFileInfo(path).fileName());
        if (name == QLatin1String("LegalCopyright"))
            return QStringLiteral("See /usr/share/doc/%1/copyright").arg(package.Name);
        if (name == QLatin1String("OriginalFileName")) {
            const QString realPath = QFileInfo(path).canonicalFilePath();
            return Present(QFileInfo(realPath.isEmpty() ? path : realPath).fileName());
        }
        if (name == QLatin1String("ProductName"))
            return Present(package.Name);
        return std::nullopt;
    };
}

} // namespace

SystemVersionReader::SystemVersionReader(QString packageAdminFolder)
    : m_packages(std::move(packageAdminFolder)) {}

VersionReadStatus SystemVersionReader::GetVersionStrings(const QString& path,
                                                         VersionStrings& strings) {
    if (const auto ownRecord = OwnVersionRecord::Read(path)) {
        return FillVersionStrings(
            [&](const QString& name) -> std::optional<QString> {
                const auto found = ownRecord->constFind(name);
                if (found == ownRecord->constEnd())
                    return std::nullopt;
                return *found;
            },
            strings);
    }
    if (const std::optional<PackageRecord> owner = m_packages.OwnerOf(path))
        return FillVersionStrings(PackageVersionRecord(*owner, path), strings);
    strings = VersionStrings{};
    return VersionStringsIncomplete;
}
