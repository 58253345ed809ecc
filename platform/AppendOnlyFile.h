#pragma once

#include <QByteArray>
#include <QString>

// A file that only grows, a whole piece at a time. Each piece goes to the
// system in write(2) calls on a descriptor opened with O_APPEND, so a crash
// of the program loses no piece that was appended, and two programs
// appending to the same file never interleave inside a piece. A piece is
// written whole or not at all: one that a full disk cuts short is taken out
// again, so the next piece never lands glued onto a fragment.
//
// A durable file also waits, before Append returns, until the piece is on
// the disk itself (fdatasync), so that a power loss cannot take it either;
// a file it creates has its folder entry synced as well.
class AppendOnlyFile {
public:
    enum class Durability { Written, Synced };

    explicit AppendOnlyFile(Durability durability = Durability::Written);
    ~AppendOnlyFile();
    AppendOnlyFile(const AppendOnlyFile&) = delete;
    AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;

    // Opens the file at path for appending, creating it when missing. False,
    // with the system's reason in ErrorString(), when it cannot be opened.
    bool Open(const QString& path);
    // False when the piece could not be written whole (nothing of it is then
    // left in the file) or, for a durable file, not synced; ErrorString()
    // then gives the system's reason, such as "No space left on device".
    bool Append(const QByteArray& piece);
    void Close();
    bool IsOpen() const { return m_descriptor >= 0; }
    // The open file is still the one at its path: not removed, not renamed,
    // not replaced.
    bool IsAtPath() const;

    QString Path() const { return m_path; }
    QString ErrorString() const { return m_error; }

private:
    bool failed(int error);
    bool syncFolder();
    void takeOut(qint64 pieceStart, qint64 written);

    const Durability m_durability;
    int m_descriptor = -1;
    QString m_path;
    QString m_error;
};
