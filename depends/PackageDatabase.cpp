#include "depends/PackageDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace {

// Folders that the /usr merge made into aliases of their /usr twins.
const QByteArrayView MergedFolders[] = {"/bin/",   "/sbin/",  "/lib/",
                                        "/lib32/", "/lib64/", "/libx32/"};

// A file's key in the index: the same for /lib/x and /usr/lib/x.
QByteArrayView MergedKey(QByteArrayView path) {
    constexpr QByteArrayView usr("/usr");
    if (path.startsWith(usr)) {
        const QByteArrayView rest = path.sliced(usr.size());
        for (QByteArrayView folder : MergedFolders) {
            if (rest.startsWith(folder))
                return rest;
        }
    }
    return path;
}

// A process loads shared objects besides its executable, and the executable
// carries a version record of its own: only shared objects need an entry.
bool IsSharedObject(QByteArrayView path) {
    return path.sliced(path.lastIndexOf('/') + 1).contains(".so");
}

struct StatusIndex {
    QHash<QString, PackageRecord> ByNameAndArchitecture; // "name:arch"
    QHash<QString, PackageRecord> ByName;
};

QString FieldValue(const QByteArray& line, qsizetype colon) {
    return QString::fromUtf8(line.mid(colon + 1).trimmed());
}

void AddInstalled(StatusIndex& index, const PackageRecord& record, bool installed) {
    if (!installed || record.Name.isEmpty())
        return;
    index.ByNameAndArchitecture.insert(record.Name + QLatin1Char(':') + record.Architecture,
                                       record);
    if (!index.ByName.contains(record.Name))
        index.ByName.insert(record.Name, record);
}

// The status file: paragraphs of "Field: value" lines, continuation lines
// indented, paragraphs separated by an empty line.
StatusIndex ReadStatus(const QString& statusPath) {
    StatusIndex index;
    QFile file(statusPath);
    if (!file.open(QIODevice::ReadOnly))
        return index;
    PackageRecord record;
    bool installed = false;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty()) {
            AddInstalled(index, std::exchange(record, PackageRecord{}), installed);
            installed = false;
            continue;
        }
        const qsizetype colon = line.indexOf(':');
        if (line.startsWith(' ') || line.startsWith('\t') || colon < 0)
            continue;
        const QByteArray field = line.left(colon);
        if (field == "Package")
            record.Name = FieldValue(line, colon);
        else if (field == "Architecture")
            record.Architecture = FieldValue(line, colon);
        else if (field == "Version")
            record.Version = FieldValue(line, colon);
        else if (field == "Maintainer")
            record.Maintainer = FieldValue(line, colon);
        else if (field == "Description")
            record.Summary = FieldValue(line, colon);
        else if (field == "Status")
            installed = line.trimmed().endsWith(" installed");
    }
    AddInstalled(index, record, installed);
    return index;
}

// A list file is named after its package, with ":arch" for packages that
// may be installed for several architectures at once.
std::optional<PackageRecord> PackageOfList(const StatusIndex& status, const QString& listName) {
    const QHash<QString, PackageRecord>& table =
        listName.contains(QLatin1Char(':')) ? status.ByNameAndArchitecture : status.ByName;
    const auto found = table.constFind(listName);
    if (found == table.constEnd())
        return std::nullopt;
    return *found;
}

} // namespace

PackageDatabase::PackageDatabase(QString adminFolder) : m_adminFolder(std::move(adminFolder)) {}

void PackageDatabase::Load() {
    m_loaded = true;
    const StatusIndex status = ReadStatus(m_adminFolder + QLatin1String("/status"));
    const QDir infoFolder(m_adminFolder + QLatin1String("/info"));
    const QStringList lists = infoFolder.entryList({QStringLiteral("*.list")}, QDir::Files);
    for (const QString& listFile : lists) {
        const std::optional<PackageRecord> package =
            PackageOfList(status, listFile.chopped(int(qstrlen(".list"))));
        QFile file(infoFolder.filePath(listFile));
        if (!package || !file.open(QIODevice::ReadOnly))
            continue;
        const int packageIndex = int(m_packages.size());
        m_packages.push_back(*package);
        const QByteArray text = file.readAll();
        for (qsizetype start = 0; start < text.size();) {
            qsizetype end = text.indexOf('\n', start);
            if (end < 0)
                end = text.size();
            const QByteArrayView path = QByteArrayView(text).sliced(start, end - start);
            if (IsSharedObject(path))
                m_packageByPath.insert(MergedKey(path).toByteArray(), packageIndex);
            start = end + 1;
        }
    }
}

std::optional<PackageRecord> PackageDatabase::OwnerOfListedPath(const QString& path) const {
    const QByteArray encoded = QFile::encodeName(path);
    const auto found = m_packageByPath.constFind(MergedKey(encoded).toByteArray());
    if (found == m_packageByPath.constEnd())
        return std::nullopt;
    return m_packages[size_t(*found)];
}

std::optional<PackageRecord> PackageDatabase::OwnerOf(const QString& path) {
    if (!m_loaded)
        Load();
    if (std::optional<PackageRecord> owner = OwnerOfListedPath(path))
        return owner;
    const QString realPath = QFileInfo(path).canonicalFilePath();
    if (realPath.isEmpty() || realPath == path)
        return std::nullopt;
    return OwnerOfListedPath(realPath);
}
