#pragma once

#include <QByteArray>
#include <QString>

class IClock;
class LogFile;
class TranscriptModel;

// Records each completed response: two items in the on-screen transcript and
// one line in the log file. A log file that cannot be written is reported
// once, when it first fails, and again only after a line has gone through.
class TrafficLog {
public:
    TrafficLog(TranscriptModel& transcript, LogFile& log, const IClock& clock);

    // Writes the record of a response that arrived gapMs after the previous
    // one. Returns a sentence for status panel 1 when the log line could not
    // be written and the failure is new; an empty text otherwise.
    QString Write(const QByteArray& response, qint64 gapMs);
    // The last line could not be written.
    bool Failing() const { return m_failureReported; }

private:
    TranscriptModel& m_transcript;
    LogFile& m_log;
    const IClock& m_clock;
    bool m_failureReported = false;
};
