#include "depends/ElfSection.h"

#include <QFile>

#include <cstring>
#include <link.h>
#include <vector>

namespace {

// Section-name tables are small; anything bigger means a damaged file.
constexpr qint64 MaxNameTableSize = 1 << 20;

bool ReadAt(QFile& file, qint64 offset, qint64 size, void* into) {
    if (offset < 0 || size < 0 || offset > file.size() || size > file.size() - offset)
        return false;
    return file.seek(offset) && file.read(static_cast<char*>(into), size) == size;
}

std::optional<QByteArray> ReadBlock(QFile& file, qint64 offset, qint64 size) {
    QByteArray block(int(size), Qt::Uninitialized);
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

    std::vector<ElfW(Shdr)> sections(header.e_shnum);
    if (!ReadAt(file, qint64(header.e_shoff), qint64(sections.size() * sizeof(ElfW(Shdr))),
                sections.data()))
        return std::nullopt;

    const ElfW(Shdr)& nameTable = sections[header.e_shstrndx];
    if (nameTable.sh_size > MaxNameTableSize)
        return std::nullopt;
    const std::optional<QByteArray> names =
        ReadBlock(file, qint64(nameTable.sh_offset), qint64(nameTable.sh_size));
    if (!names)
        return std::nullopt;

    for (const ElfW(Shdr) & section : sections) {
        if (section.sh_name >= size_t(names->size()) || section.sh_type == SHT_NOBITS)
            continue;
        if (qstrcmp(names->constData() + section.sh_name, sectionName) != 0)
            continue;
        if (qint64(section.sh_size) > maxSize)
            return std::nullopt;
        return ReadBlock(file, qint64(section.sh_offset), qint64(section.sh_size));
    }
    return std::nullopt;
}
