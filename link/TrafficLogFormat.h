#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The texts of the traffic log for one completed response: the transcript's
// two items and the log file's line. A response is the bytes of the line;
// each byte stands for the character of the same code (Latin-1).
namespace TrafficLogFormat {

// "yyyy-mm-dd hh:nn:ss" on the 24-hour clock, zero-padded, in every locale.
QString DateStamp(const QDateTime& when);
// One space and two uppercase hexadecimal digits per byte: " 30 2B 31".
QString HexText(const QByteArray& response);
// The stamp, " [", the gap, " mS] <", the response without its NULs, ">".
QString TranscriptLine1(const QDateTime& when, qint64 gapMs, const QByteArray& response);
// "-" followed by the hex text.
QString TranscriptLine2(const QByteArray& response);
// The stamp directly followed by the gap, " -", the hex text and CR LF.
QByteArray LogLine(const QDateTime& when, qint64 gapMs, const QByteArray& response);

} // namespace TrafficLogFormat
