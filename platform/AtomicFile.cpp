#include "platform/AtomicFile.h"

#include <QSaveFile>

#include <cerrno>
#include <unistd.h>

namespace {

bool fail(QSaveFile& file, const QString& why, QString* reason) {
    *reason = why;
    file.cancelWriting(); // the temporary file goes with the QSaveFile
    return false;
}

} // namespace

bool AtomicFile::Replace(const QString& path, const QByteArray& bytes, QString* reason) {
    QSaveFile file(path);
    // Unbuffered, so that every write reaches the system here and its failure
    // is seen. Buffered, the bytes would only be written inside commit(),
    // which does not check that write and would put a cut-short file in
    // place of the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *reason = file.errorString();
        return false;
    }
    qint64 written = 0;
    while (written < bytes.size()) {
        // A disk that fills up takes part of a write; the next write then
        // fails with the reason.
        const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
        if (count <= 0)
            return fail(file, file.errorString(), reason);
        written += count;
    }
    // Some file systems (network ones, or those that allocate late) report
    // a full disk only here; commit() would sync but not look at the result.
    if (::fsync(file.handle()) != 0)
        return fail(file, qt_error_string(errno), reason);
    if (!file.commit()) {
        *reason = file.errorString();
        return false;
    }
    return true;
}
