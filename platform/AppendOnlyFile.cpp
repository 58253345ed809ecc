#include "platform/AppendOnlyFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A write past the file size limit (RLIMIT_FSIZE) raises SIGXFSZ, whose
// default action ends the program. Ignored, the write fails with EFBIG
// instead and is reported like a full disk. A handler someone set is kept.
void surviveFileSizeLimit() {
    struct sigaction current {};
    if (sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

int openForAppending(const QByteArray& path, bool* created) {
    constexpr int flags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC;
    int descriptor = ::open(path.constData(), flags | O_EXCL, 0666);
    *created = descriptor >= 0;
    if (descriptor < 0 && errno == EEXIST)
        descriptor = ::open(path.constData(), flags, 0666);
    return descriptor;
}

} // namespace

AppendOnlyFile::AppendOnlyFile(Durability durability) : m_durability(durability) {}

AppendOnlyFile::~AppendOnlyFile() {
    Close();
}

bool AppendOnlyFile::Open(const QString& path) {
    Close();
    surviveFileSizeLimit();
    m_path = path;
    bool created = false;
    m_descriptor = openForAppending(QFile::encodeName(path), &created);
    if (m_descriptor < 0)
        return failed(errno);
    if (created && m_durability == Durability::Synced && !syncFolder()) {
        Close();
        return false;
    }
    return true;
}

// A new file survives a power loss only once its folder's entry for it is
// on the disk too. File systems that cannot sync a folder say EINVAL.
bool AppendOnlyFile::syncFolder() {
    const QByteArray folder = QFile::encodeName(QFileInfo(m_path).absolutePath());
    const int descriptor = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return failed(errno);
    const bool synced = ::fsync(descriptor) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(descriptor);
    return synced || failed(error);
}

bool AppendOnlyFile::failed(int error) {
    m_error = qt_error_string(error);
    return false;
}

// write(2) itself, so that a short write is seen: a disk that fills up takes
// the start of a piece and fails the rest.
bool AppendOnlyFile::Append(const QByteArray& piece) {
    if (m_descriptor < 0) {
        m_error = QStringLiteral("the file is not open");
        return false;
    }
    qint64 pieceStart = 0;
    qint64 written = 0;
    while (written < piece.size()) {
        const ssize_t count =
            ::write(m_descriptor, piece.constData() + written, size_t(piece.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            failed(count < 0 ? errno : EIO);
            takeOut(pieceStart, written);
            return false;
        }
        if (written == 0) // O_APPEND put this write at the end of the file
            pieceStart = ::lseek(m_descriptor, 0, SEEK_CUR) - count;
        written += count;
    }
    if (m_durability == Durability::Synced) {
        int synced = 0;
        do
            synced = ::fdatasync(m_descriptor);
        while (synced != 0 && errno == EINTR);
        // The piece may never reach the disk: it is not counted as appended.
        if (synced != 0) {
            failed(errno);
            takeOut(pieceStart, written);
            return false;
        }
    }
    return true;
}

// Cuts the written part of a failed piece off again, unless another program
// has appended since (its pieces are not ours to cut).
void AppendOnlyFile::takeOut(qint64 pieceStart, qint64 written) {
    if (written == 0)
        return;
    struct stat file {};
    const bool endsWithOurPart =
        ::fstat(m_descriptor, &file) == 0 && file.st_size == pieceStart + written;
    if (!endsWithOurPart || ::ftruncate(m_descriptor, pieceStart) != 0)
        m_error += QStringLiteral("; part of it is left in the file");
}

bool AppendOnlyFile::IsAtPath() const {
    struct stat opened {};
    struct stat atPath {};
    return m_descriptor >= 0 && ::fstat(m_descriptor, &opened) == 0 &&
           ::stat(QFile::encodeName(m_path).constData(), &atPath) == 0 &&
           opened.st_dev == atPath.st_dev && opened.st_ino == atPath.st_ino;
}

void AppendOnlyFile::Close() {
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
}
