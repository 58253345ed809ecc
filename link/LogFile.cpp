#include "link/LogFile.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

bool LogFile::Open(const QString& path, QString* error) {
    Close();
    m_path = path;
    m_opened = openAtPath();
    if (!m_opened && error)
        *error = m_error;
    return m_opened;
}

bool LogFile::openAtPath() {
    m_file.setFileName(m_path);
    // Unbuffered: every line is one write(2) on a descriptor opened with O_APPEND.
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return true;
    m_error = m_file.errorString();
    return false;
}

// A log file removed or renamed while open would swallow every later line
// without an error, so a file no longer at its path is created there anew.
// A reopen that fails is tried again at the next line.
bool LogFile::ensureFileAtPath() {
    if (m_file.isOpen()) {
        struct stat opened {};
        struct stat atPath {};
        if (fstat(m_file.handle(), &opened) == 0 &&
            stat(QFile::encodeName(m_path).constData(), &atPath) == 0 &&
            opened.st_dev == atPath.st_dev && opened.st_ino == atPath.st_ino)
            return true;
        m_file.close();
    }
    return openAtPath();
}

bool LogFile::AppendLine(const QByteArray& line) {
    if (!m_opened) {
        m_error = QStringLiteral("the file is not open");
        return false;
    }
    if (!ensureFileAtPath())
        return false;
    return writeWhole(line);
}

// write(2) itself, so that a short write is seen: a disk that fills up takes
// the start of a line and fails the rest, and the next line would be glued
// onto that start. The start is cut off again, unless another program has
// appended since (its lines are not ours to cut).
bool LogFile::writeWhole(const QByteArray& line) {
    const int descriptor = m_file.handle();
    off_t lineStart = 0;
    qint64 written = 0;
    while (written < line.size()) {
        const ssize_t count =
            ::write(descriptor, line.constData() + written, size_t(line.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0) {
            m_error = qt_error_string(count < 0 ? errno : EIO);
            struct stat file {};
            const bool endsWithOurPart =
                written > 0 && fstat(descriptor, &file) == 0 && file.st_size == lineStart + written;
            if (endsWithOurPart && ftruncate(descriptor, lineStart) != 0)
                m_error += QStringLiteral("; the start of the line is left in the file");
            return false;
        }
        if (written == 0) // O_APPEND put this write at the end of the file
            lineStart = lseek(descriptor, 0, SEEK_CUR) - count;
        written += count;
    }
    return true;
}

void LogFile::Close() {
    m_file.close();
    m_opened = false;
}

bool LogFile::IsOpen() const {
    return m_opened;
}
