#pragma once

#include "platform/AppendOnlyFile.h"

#include <QByteArray>
#include <QString>

// The append-only log file. Each line goes to the system as it is written,
// whole or not at all (platform/AppendOnlyFile), so a crash loses no
// completed line, two programs logging to the same file never interleave
// inside a line, and a line that a full disk cuts short is taken out again.
class LogFile {
public:
    LogFile() = default;
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Opens the file for appending, creating it when missing. On failure the
    // reason goes to *error (when given) and the file stays closed.
    bool Open(const QString& path, QString* error);
    // Appends the line as given. False when it could not be written whole
    // (nothing of it is then left in the file); ErrorString() then gives the
    // system's reason, such as "No space left on device".
    bool AppendLine(const QByteArray& line);
    void Close();
    // True from a successful Open until Close, even while lines fail.
    bool IsOpen() const;

    // The path of the last Open, whether or not it succeeded.
    QString Path() const { return m_path; }
    // Why the last Open or AppendLine failed.
    QString ErrorString() const { return m_error; }

private:
    bool openAtPath();
    bool ensureFileAtPath();

    AppendOnlyFile m_file;
    bool m_opened = false; // between a successful Open and Close
    QString m_path;
    QString m_error;
};
