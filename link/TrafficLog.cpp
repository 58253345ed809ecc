#include "link/TrafficLog.h"

#include "link/LogFile.h"
#include "link/TrafficLogFormat.h"
#include "link/TranscriptModel.h"
#include "platform/Clock.h"

TrafficLog::TrafficLog(TranscriptModel& transcript, LogFile& log, const IClock& clock)
    : m_transcript(transcript), m_log(log), m_clock(clock) {}

QString TrafficLog::Write(const QByteArray& response, qint64 gapMs) {
    m_transcript.Append(TrafficLogFormat::TranscriptLine1(m_clock.LocalNow(), gapMs, response));
    m_transcript.Append(TrafficLogFormat::TranscriptLine2(response));
    if (m_log.AppendLine(TrafficLogFormat::LogLine(m_clock.LocalNow(), gapMs, response))) {
        m_failureReported = false;
        return QString();
    }
    if (m_failureReported)
        return QString();
    m_failureReported = true;
    const QString path = m_log.Path().isEmpty() ? QStringLiteral("(none)") : m_log.Path();
    return QStringLiteral(
               "The log file %1 cannot be written (%2); responses are still shown on the HEX tab.")
        .arg(path, m_log.ErrorString());
}
