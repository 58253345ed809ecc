// dpkg's database as a damaged or hostile system may hold it: reading it
// never fails, and a shared object is owned alike from both sides of the
// /usr merge.
//
// The input is the status file, followed by any number of file lists, each
// started by a line "--- <list name>" (the name without ".list") and holding
// one path a line.
#include "FuzzSupport.h"

#include "depends/PackageDatabase.h"

#include <QDir>

namespace {

struct ListFile {
    QByteArray Name;
    QByteArray Paths;
};

struct AdminFolder {
    QByteArray Status;
    QVector<ListFile> Lists;
};

AdminFolder ParsedInput(const QByteArray& input) {
    AdminFolder folder;
    QByteArray* current = &folder.Status;
    for (const QByteArray& line : input.split('\n')) {
        if (line.startsWith("--- ")) {
            folder.Lists.append({line.mid(4), QByteArray()});
            current = &folder.Lists.last().Paths;
        } else {
            current->append(line).append('\n');
        }
    }
    return folder;
}

bool IsFileName(const QByteArray& name) {
    return !name.isEmpty() && name.size() < 200 && !name.contains('/') && !name.contains('\0') &&
           name != "." && name != "..";
}

QString WrittenAdminFolder(const AdminFolder& input) {
    QDir folder(fuzzing::ScratchPath(QStringLiteral("dpkg")));
    folder.removeRecursively();
    FUZZ_REQUIRE(folder.mkpath(QStringLiteral("info")));
    FUZZ_REQUIRE(fuzzing::WriteFile(folder.filePath(QStringLiteral("status")), input.Status));
    for (const ListFile& list : input.Lists) {
        if (IsFileName(list.Name))
            fuzzing::WriteFile(
                folder.filePath(QStringLiteral("info/") + QFile::decodeName(list.Name + ".list")),
                list.Paths);
    }
    return folder.path();
}

// The same file seen from the other side of the /usr merge, or "" when it
// lies in no merged folder.
QString MergedTwin(const QString& path) {
    static const QString Usr = QStringLiteral("/usr");
    if (path.startsWith(Usr + QStringLiteral("/lib/")))
        return path.mid(Usr.size());
    if (path.startsWith(QLatin1String("/lib/")))
        return Usr + path;
    return QString();
}

bool SameOwner(const std::optional<PackageRecord>& a, const std::optional<PackageRecord>& b) {
    if (!a || !b)
        return !a && !b;
    return a->Name == b->Name && a->Architecture == b->Architecture && a->Version == b->Version;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const AdminFolder input = ParsedInput(fuzzing::Bytes(data, size));
    PackageDatabase database(WrittenAdminFolder(input));
    int asked = 0;
    for (const ListFile& list : input.Lists) {
        for (const QByteArray& line : list.Paths.split('\n')) {
            if (++asked > 64)
                return 0;
            const QString path = QFile::decodeName(line);
            const std::optional<PackageRecord> owner = database.OwnerOf(path);
            FUZZ_REQUIRE(!owner || !owner->Name.isEmpty());
            const QString twin = MergedTwin(path);
            if (!twin.isEmpty())
                FUZZ_REQUIRE(SameOwner(database.OwnerOf(twin), owner));
        }
    }
    database.OwnerOf(QStringLiteral("/usr/lib/x86_64-linux-gnu/libc.so.6"));
    return 0;
}
