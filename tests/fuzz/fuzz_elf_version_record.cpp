// Any file the program has loaded may be asked for its version record: a
// damaged or hostile ELF file gives a record or none, never more bytes than
// allowed, and version texts no longer than their buffer.
//
// The input is the file's bytes.
#include "FuzzSupport.h"

#include "depends/ElfSection.h"
#include "depends/OwnVersionRecord.h"
#include "depends/VersionReader.h"

namespace {

void RequireSectionWithin(const QString& path, const QByteArray& name, qint64 maxSize) {
    const std::optional<QByteArray> section = ReadElfSection(path, name, maxSize);
    FUZZ_REQUIRE(!section || section->size() <= maxSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString path = fuzzing::ScratchPath(QStringLiteral("module.so"));
    FUZZ_REQUIRE(fuzzing::WriteFile(path, fuzzing::Bytes(data, size)));
    RequireSectionWithin(path, QByteArrayLiteral(".probeterm.version"), 64 * 1024);
    RequireSectionWithin(path, QByteArrayLiteral(".shstrtab"), 16);
    RequireSectionWithin(path, QByteArray(), 0);
    OwnVersionRecord::Read(path);

    // No package database: the record is all there is to read.
    SystemVersionReader reader(fuzzing::ScratchPath(QStringLiteral("no-dpkg")));
    VersionStrings strings;
    const VersionReadStatus status = reader.GetVersionStrings(path, strings);
    FUZZ_REQUIRE(status == AllVersionStringsFound || status == VersionStringsIncomplete);
    for (const VersionStrings::Field& field : VersionStrings::Fields) {
        const QString& text = strings.*field.Text;
        FUZZ_REQUIRE(text.size() <= MaxVersionTextLength && text.isValidUtf16());
    }
    return 0;
}
