#include "link/LogFile.h"

#include <sys/stat.h>

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
    if (m_file.write(line) != line.size()) {
        m_error = m_file.errorString();
        return false;
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
