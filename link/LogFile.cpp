#include "link/LogFile.h"

bool LogFile::Open(const QString& path, QString* error) {
    Close();
    m_path = path;
    m_opened = openAtPath();
    if (!m_opened && error)
        *error = m_error;
    return m_opened;
}

bool LogFile::openAtPath() {
    if (m_file.Open(m_path))
        return true;
    m_error = m_file.ErrorString();
    return false;
}

// A log file removed or renamed while open would swallow every later line
// without an error, so a file no longer at its path is created there anew.
// A reopen that fails is tried again at the next line.
bool LogFile::ensureFileAtPath() {
    return m_file.IsAtPath() || openAtPath();
}

bool LogFile::AppendLine(const QByteArray& line) {
    if (!m_opened) {
        m_error = QStringLiteral("the file is not open");
        return false;
    }
    if (!ensureFileAtPath())
        return false;
    if (m_file.Append(line))
        return true;
    m_error = m_file.ErrorString();
    return false;
}

void LogFile::Close() {
    m_file.Close();
    m_opened = false;
}

bool LogFile::IsOpen() const {
    return m_opened;
}
