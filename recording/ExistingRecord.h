#pragma once

#include <QByteArray>

// What the start and the end of an existing record file say before rows
// are appended to it. Only these few bytes are read, however long the file.
namespace ExistingRecord {

// How many bytes from the start of the file SameHeader needs.
qsizetype HeadSize(const QByteArray& headerLine);
// The file's first line, seen in head, is headerLine (both with or without
// their line end): the rows to come fit its columns. A UTF-8 byte order
// mark before it, as some spreadsheets write, is passed over.
bool SameHeader(const QByteArray& head, const QByteArray& headerLine);
// What completes a last line that a crash left without its line end, so
// that the next row starts a line of its own: nothing when the file's last
// byte ends a line.
QByteArray LineEndAfter(char lastByte);

} // namespace ExistingRecord
