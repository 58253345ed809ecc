#include "recording/RecordFile.h"

#include "recording/DailyName.h"
#include "recording/ExistingRecord.h"

#include <QFile>
#include <QFileInfo>

RecordOpening RecordFile::Open(const QString& chosenPath, const RecordColumns& columns,
                               const RecordOptions& options, const QDateTime& now) {
    Close();
    m_chosenPath = chosenPath;
    m_columns = columns;
    m_options = options;
    m_header = RecordCsv::HeaderLine(columns);
    m_rows = 0;
    const RecordOpening opening = openAt(pathFor(now));
    m_recording = opening.IsRecording();
    return opening;
}

QString RecordFile::pathFor(const QDateTime& time) const {
    return m_options.Daily ? DailyName::PathFor(m_chosenPath, time) : m_chosenPath;
}

// Reads only the head and the last byte of a file that is already there.
RecordOpening RecordFile::openAt(const QString& path) {
    const bool existed = QFileInfo::exists(path);
    if (!m_file.Open(path))
        return failed(RecordOpening::Kind::Failed, m_file.ErrorString());
    QFile existing(path);
    if (!existing.open(QIODevice::ReadOnly))
        return failed(RecordOpening::Kind::Failed, existing.errorString());
    if (existing.size() == 0) {
        if (!startsNewFile(existed))
            return failed(RecordOpening::Kind::Failed, m_error);
        return {RecordOpening::Kind::New, QString()};
    }
    const QByteArray head = existing.read(ExistingRecord::HeadSize(m_header));
    char lastByte = 0;
    if (!existing.seek(existing.size() - 1) || !existing.getChar(&lastByte))
        return failed(RecordOpening::Kind::Failed, existing.errorString());
    if (!ExistingRecord::SameHeader(head, m_header))
        return failed(RecordOpening::Kind::OtherHeader,
                      QStringLiteral("the file has other columns"));
    const QByteArray lineEnd = ExistingRecord::LineEndAfter(lastByte);
    if (!lineEnd.isEmpty() && !m_file.Append(lineEnd))
        return failed(RecordOpening::Kind::Failed, m_file.ErrorString());
    return {RecordOpening::Kind::Appending, QString()};
}

// The header goes in first. A file made here that cannot take it is not
// left behind empty.
bool RecordFile::startsNewFile(bool existed) {
    if (m_file.Append(m_header))
        return true;
    m_error = m_file.ErrorString();
    if (!existed)
        QFile::remove(m_file.Path());
    return false;
}

RecordOpening RecordFile::failed(RecordOpening::Kind kind, const QString& reason) {
    m_file.Close();
    m_error = reason;
    return {kind, reason};
}

bool RecordFile::AppendRow(const RecordRow& row) {
    if (!m_recording) {
        m_error = QStringLiteral("no recording is open");
        return false;
    }
    const std::optional<QByteArray> line = RecordCsv::RowLine(m_columns, row, m_options.Times);
    if (!line) {
        m_error = QStringLiteral("sensor %1 sent %2 values; the file has columns for %3")
                      .arg(row.Address)
                      .arg(row.Values.size())
                      .arg(m_columns.PlacesOf(row.Address).size());
        return false;
    }
    // A new day's file, or the file made anew where it was removed or renamed
    // since: rows written to a file no longer at its path would be lost.
    const QString path = pathFor(row.Time);
    if (path != m_file.Path() || !m_file.IsAtPath()) {
        if (!openAt(path).IsRecording())
            return false;
    }
    if (!m_file.Append(*line)) {
        m_error = m_file.ErrorString();
        return false;
    }
    ++m_rows;
    return true;
}

void RecordFile::Close() {
    m_file.Close();
    m_recording = false;
}
