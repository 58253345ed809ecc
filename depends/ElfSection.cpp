#include "depends/ElfSection.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <link.h>
#include <vector>

namespace {

// Section-name tables are small; anything bigger means a damaged file.
constexpr quint64 MaxNameTableSize = 1 << 20;

// Whether the file holds every byte of [offset, offset + size). The sizes
// and offsets of an ELF file are unsigned 64-bit fields, compared here as
// such, so that no value of theirs can pass as a negative or wrapped one.
bool FileHolds(const QFile& file, quint64 offset, quint64 size) {
    const quint64 fileSize = quint64(std::max<qint64>(file.size(), 0));
    return offset <= fileSize && size <= fileSize - offset;
}

bool ReadAt(QFile& file, quint64 offset, quint64 size, void* into) {
    return FileHolds(file, offset, size) && file.seek(qint64(offset)) &&
           file.read(static_cast<char*>(into), qint64(size)) == qint64(size);
}

// The block is allocated only once the file is known to hold it, so a
// damaged size field costs no more memory than the file itself.
std::optional<QByteArray> ReadBlock(QFile& file, quint64 offset, quint64 size) {
    if (!FileHolds(file, offset, size))
        return std::nullopt;
    QByteArray block(qsizetype(size), Qt::Uninitialized);
    if (!ReadAt(file, offset, size, block.data()))
        return std::nullopt;
    return block;
}

bool IsNativeElf(const ElfW(Ehdr) & header) {
    return std::memcmp(header.e_ident, ELFMAG, SELFMAG) == 0 &&
           header.e_ident[EI_CLASS] == (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32) &&
           header.e_shentsize == sizeof(ElfW(Shdr)) && header.e_shnum > 0 &&
           header.e_shstrndx < header.e_shnum;
}

} // namespace

std::optional<QByteArray> ReadElfSection(const QString& path, const QByteArray& sectionName,
                                         qint64 maxSize) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    ElfW(Ehdr) header;
    if (!ReadAt(file, 0, sizeof header, &header) || !IsNativeElf(header))
        return std::nullopt;

    const quint64 tableSize = quint64(header.e_shnum) * sizeof(ElfW(Shdr));
    if (!FileHolds(file, header.e_shoff, tableSize))
        return std::nullopt;
    std::vector<ElfW(Shdr)> sections(header.e_shnum);
    if (!ReadAt(file, header.e_shoff, tableSize, sections.data()))
        return std::nullopt;

    const ElfW(Shdr)& nameTable = sections[header.e_shstrndx];
    if (nameTable.sh_size > MaxNameTableSize)
        return std::nullopt;
    const std::optional<QByteArray> names = ReadBlock(file, nameTable.sh_offset, nameTable.sh_size);
    if (!names)
        return std::nullopt;

    const quint64 largestSection = quint64(std::max<qint64>(maxSize, 0));
    for (const ElfW(Shdr) & section : sections) {
        if (section.sh_name >= quint64(names->size()) || section.sh_type == SHT_NOBITS)
            continue;
        if (qstrcmp(names->constData() + section.sh_name, sectionName) != 0)
            continue;
        if (section.sh_size > largestSection)
            return std::nullopt;
        return ReadBlock(file, section.sh_offset, section.sh_size);
    }
    return std::nullopt;
}
