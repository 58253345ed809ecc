// Profile files come from anywhere: whatever a file holds, writing what was
// read and reading it again gives the same sections, keys and values, and
// each value survives being set again.
#include "FuzzSupport.h"

#include "platform/ProfileFile.h"

#include <QSet>
#include <QStringList>

namespace {

// No value holds a line feed, so this marks a key that is absent.
const QString Absent = QStringLiteral("\n(absent)");

// The profile offers no list of keys: every text before "=" on a line of its
// written form is asked for in every section.
QStringList CandidateKeys(const ProfileFile& profile) {
    QSet<QString> keys;
    for (const QString& line : QString::fromUtf8(profile.ToBytes()).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0)
            keys.insert(line.left(equals).trimmed());
    }
    return keys.values();
}

void RequireSameContent(const ProfileFile& expected, const ProfileFile& actual,
                        const QStringList& keys) {
    FUZZ_REQUIRE(actual.SectionNames() == expected.SectionNames());
    for (const QString& section : expected.SectionNames()) {
        for (const QString& key : keys)
            FUZZ_REQUIRE(actual.Value(section, key, Absent) ==
                         expected.Value(section, key, Absent));
    }
}

// A profile holding only the values of the original, each set anew.
ProfileFile Rewritten(const ProfileFile& original, const QStringList& keys) {
    ProfileFile rewritten;
    for (const QString& section : original.SectionNames()) {
        for (const QString& key : keys) {
            const QString value = original.Value(section, key, Absent);
            if (value != Absent)
                rewritten.SetValue(section, key, value);
        }
    }
    return rewritten;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ProfileFile read = ProfileFile::FromBytes(fuzzing::Bytes(data, size));
    const QByteArray written = read.ToBytes();
    const ProfileFile reread = ProfileFile::FromBytes(written);
    const QStringList keys = CandidateKeys(read);
    RequireSameContent(read, reread, keys);
    FUZZ_REQUIRE(reread.ToBytes() == written);

    const ProfileFile rewritten = ProfileFile::FromBytes(Rewritten(read, keys).ToBytes());
    for (const QString& section : read.SectionNames()) {
        for (const QString& key : keys) {
            const QString value = read.Value(section, key, Absent);
            if (value != Absent)
                FUZZ_REQUIRE(rewritten.Value(section, key, Absent) == value);
        }
    }
    return 0;
}
