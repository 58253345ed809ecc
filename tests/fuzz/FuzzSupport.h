#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// Each target defines libFuzzer's entry point; the replay test calls the same
// function with every input of the target's corpus.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzzing {

inline QByteArray Bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A file name in a folder of the process's own, removed when it ends.
inline QString ScratchPath(const QString& name) {
    static const QTemporaryDir folder;
    return folder.filePath(name);
}

// A new file each time: ext4 flushes a file that is cut short and written
// again to disk at once, which would slow fuzzing down a hundredfold.
inline bool WriteFile(const QString& fileName, const QByteArray& bytes) {
    QFile::remove(fileName);
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

[[noreturn]] inline void Broken(const char* property, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
    std::abort();
}

} // namespace fuzzing

// A property every input must keep. Breaking it aborts, so that libFuzzer
// keeps the input as a crash and the replay test fails on it.
#define FUZZ_REQUIRE(condition)                                                                    \
    ((condition) ? void(0) : fuzzing::Broken(#condition, __FILE__, __LINE__))
