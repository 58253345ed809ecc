#pragma once

#include "platform/AppendOnlyFile.h"
#include "recording/RecordColumns.h"
#include "recording/RecordCsv.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct RecordOptions {
    RecordTimes Times = RecordTimes::Utc;
    bool Daily = false; // a new file each UTC day (DailyName)
};

// How opening a record file went.
struct RecordOpening {
    enum class Kind {
        New,         // the file was made, or was empty, and has its header
        Appending,   // the file has the same header; rows go after its own
        OtherHeader, // the file has other columns: ask for another name
        Failed,      // the file cannot be used; Reason says why
    };
    Kind What = Kind::Failed;
    QString Reason;

    bool IsRecording() const { return What == Kind::New || What == Kind::Appending; }
};

// The file a recording appends its rows to. Each row is on the disk
// (written whole and synced) before AppendRow returns, so a crash or a power
// loss takes at most the row being written; a row that cannot be written
// whole leaves nothing of itself and the rows before it stay whole. A file
// whose last line a crash left without its line end has the line completed
// before the first row goes in. With daily files, each row goes to the file
// of its own UTC day, which is opened (made or appended to) as the day comes.
class RecordFile {
public:
    RecordFile() = default;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Starts recording with these columns to chosenPath, or to its file of
    // the day of `now` when the files are daily.
    RecordOpening Open(const QString& chosenPath, const RecordColumns& columns,
                       const RecordOptions& options, const QDateTime& now);
    // False, with the reason in ErrorString(), when the row is not in the
    // file: the disk is full, the sensor sent more values than the file has
    // columns for, or the day's new file cannot be used.
    bool AppendRow(const RecordRow& row);
    void Close();

    // From a successful Open until Close, even while rows fail.
    bool IsRecording() const { return m_recording; }
    // The rows appended since Open, across the days' files.
    qint64 RowsWritten() const { return m_rows; }
    // The file rows go to now, or the one that just failed to open.
    QString CurrentPath() const { return m_file.Path(); }
    QString ErrorString() const { return m_error; }

private:
    RecordOpening openAt(const QString& path);
    RecordOpening failed(RecordOpening::Kind kind, const QString& reason);
    bool startsNewFile(bool existed);
    QString pathFor(const QDateTime& time) const;

    AppendOnlyFile m_file{AppendOnlyFile::Durability::Synced};
    QString m_chosenPath;
    RecordColumns m_columns;
    RecordOptions m_options;
    QByteArray m_header;
    bool m_recording = false;
    qint64 m_rows = 0;
    QString m_error;
};
