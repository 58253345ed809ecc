#include "depends/OwnVersionRecord.h"

#include "depends/ElfSection.h"
#include "version/Version.h"

#include <cstddef>

// The section that holds the record in the program's file.
#define PROBETERM_VERSION_SECTION ".probeterm.version"

namespace {

struct RecordEntry {
    const char* Name;
    const char* Text;
};

constexpr RecordEntry Entries[] = {
    {"CompanyName", OwnVersionRecord::CompanyName},
    {"FileDescription", OwnVersionRecord::FileDescription},
    {"FileVersion", ProbeTermVersion::Text},
    {"InternalName", "probeterm"},
    {"LegalCopyright", OwnVersionRecord::LegalCopyright},
    {"OriginalFileName", "probeterm"},
    {"ProductName", OwnVersionRecord::ProductName},
    {"ProductVersion", ProbeTermVersion::Text},
};

constexpr std::size_t TextLength(const char* text) {
    std::size_t length = 0;
    while (text[length] != '\0')
        ++length;
    return length;
}

constexpr std::size_t RecordSize() {
    std::size_t size = 0;
    for (const RecordEntry& entry : Entries)
        size += TextLength(entry.Name) + 1 + TextLength(entry.Text) + 1;
    return size;
}

struct RecordBytes {
    char Bytes[RecordSize()];
};

constexpr RecordBytes BuildRecord() {
    RecordBytes record{};
    std::size_t at = 0;
    for (const RecordEntry& entry : Entries) {
        for (const char* text : {entry.Name, entry.Text}) {
            for (std::size_t i = 0; text[i] != '\0'; ++i)
                record.Bytes[at++] = text[i];
            record.Bytes[at++] = '\0';
        }
    }
    return record;
}

// Kept by the linker although no code reads it from memory.
[[gnu::used, gnu::section(PROBETERM_VERSION_SECTION)]] constexpr RecordBytes EmbeddedRecord =
    BuildRecord();

// Far above the record's size; a bigger section is not ours.
constexpr qint64 MaxRecordSize = 64 * 1024;

} // namespace

std::optional<QHash<QString, QString>> OwnVersionRecord::Read(const QString& path) {
    const std::optional<QByteArray> bytes =
        ReadElfSection(path, QByteArrayLiteral(PROBETERM_VERSION_SECTION), MaxRecordSize);
    if (!bytes)
        return std::nullopt;
    const QList<QByteArray> parts = bytes->split('\0');
    QHash<QString, QString> record;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        record.insert(QString::fromUtf8(parts[i]), QString::fromUtf8(parts[i + 1]));
    return record;
}
