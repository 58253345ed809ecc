#include "depends/ElfSection.h"

#include <QtTest>

#include <cstring>
#include <link.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 FileSize = 888;
constexpr quint64 SectionTableOffset = sizeof(ElfW(Ehdr));
constexpr quint64 NamesOffset = 256;
constexpr char Names[] = "\0.shstrtab\0.probeterm.version"; // sh_name 1 and 11
constexpr quint64 PayloadOffset = FileSize - 16;

// An ELF file of this machine's class: a null section, the name table, and
// a ".probeterm.version" section whose place and size the caller picks; the
// last 16 bytes of the file read "0123456789abcdef".
QByteArray ElfFile(quint64 tableOffset, quint64 sectionOffset, quint64 sectionSize) {
    QByteArray file(FileSize, '\0');
    ElfW(Ehdr) header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_shoff = tableOffset;
    header.e_shentsize = sizeof(ElfW(Shdr));
    header.e_shnum = 3;
    header.e_shstrndx = 1;
    std::memcpy(file.data(), &header, sizeof header);
    ElfW(Shdr) sections[3]{};
    sections[1] = {1, SHT_STRTAB, 0, 0, NamesOffset, sizeof Names, 0, 0, 1, 0};
    sections[2] = {11, SHT_PROGBITS, 0, 0, sectionOffset, sectionSize, 0, 0, 1, 0};
    std::memcpy(file.data() + SectionTableOffset, sections, sizeof sections);
    std::memcpy(file.data() + NamesOffset, Names, sizeof Names);
    std::memcpy(file.data() + PayloadOffset, "0123456789abcdef", 16);
    return file;
}

// Bounds the process's address space to what it uses now and 256 MiB more,
// so that reading a damaged file cannot allocate gigabytes unnoticed.
class AddressSpaceBound {
public:
    AddressSpaceBound() {
        getrlimit(RLIMIT_AS, &m_before);
        QFile status(QStringLiteral("/proc/self/statm"));
        const quint64 usedPages = status.open(QIODevice::ReadOnly)
                                      ? status.readAll().split(' ').value(0).toULongLong()
                                      : 0;
        rlimit bound = m_before;
        bound.rlim_cur = usedPages * quint64(sysconf(_SC_PAGESIZE)) + (quint64(256) << 20);
        m_bounded = usedPages > 0 && setrlimit(RLIMIT_AS, &bound) == 0;
    }
    ~AddressSpaceBound() { setrlimit(RLIMIT_AS, &m_before); }
    bool Bounded() const { return m_bounded; }

private:
    rlimit m_before{};
    bool m_bounded = false;
};

} // namespace

class TestDependsElf : public QObject {
    Q_OBJECT
private slots:
    void damagedFilesAreRefusedWithoutBigAllocations_data() {
        QTest::addColumn<quint64>("tableOffset");
        QTest::addColumn<quint64>("offset");
        QTest::addColumn<quint64>("size");
        QTest::addColumn<QByteArray>("section"); // null: refused
        const auto row = [](const char* name, quint64 offset, quint64 size,
                            const QByteArray& section, quint64 tableOffset = SectionTableOffset) {
            QTest::newRow(name) << tableOffset << offset << size << section;
        };
        const quint64 top = quint64(1) << 63;
        row("ends at the end", PayloadOffset, 16, "0123456789abcdef");
        row("one byte past the end", PayloadOffset, 17, {});
        row("size 2^63", 0, top, {});
        row("size 2^63 + 2 GiB - 1", 0, top + 0x7FFFFFFF, {});
        row("offset and size wrap around", ~quint64(7), 16, {});
        row("section table past the end", PayloadOffset, 16, {}, ~quint64(0xFF));
    }
    void damagedFilesAreRefusedWithoutBigAllocations() {
        QFETCH(quint64, tableOffset);
        QFETCH(quint64, offset);
        QFETCH(quint64, size);
        QFETCH(QByteArray, section);
        QTemporaryFile file;
        QVERIFY(file.open());
        file.write(ElfFile(tableOffset, offset, size));
        file.close();

        const AddressSpaceBound bound;
        QVERIFY(bound.Bounded());
        const std::optional<QByteArray> read =
            ReadElfSection(file.fileName(), ".probeterm.version", 64 * 1024);
        QCOMPARE(read.value_or(QByteArray()), section);
        QCOMPARE(read.has_value(), !section.isNull());
    }
};

QTEST_GUILESS_MAIN(TestDependsElf)
#include "tst_depends_elf.moc"
