#pragma once

#include "measure/MeasurementMethod.h"
#include "recording/RecordFile.h"

#include <QObject>

struct MeasurementRecord;

// Records measurements as they end: each one's row goes into the record
// file at once, written whole and synced before the next measurement
// starts. A row that cannot be written (a full disk, a file that cannot be
// made) ends the recording with the reason; the rows before it stay whole.
class MeasurementRecorder : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts recording the measurements of `method` from these sensors.
    RecordOpening start(const QString& path, const QList<SensorLabels>& sensors,
                        const MeasurementMethod& method, const RecordOptions& options,
                        const QDateTime& now);
    void stop();
    bool isRecording() const { return m_file.IsRecording(); }
    qint64 rows() const { return m_file.RowsWritten(); }
    // The file the rows go to now (with daily files, today's).
    QString path() const { return m_file.CurrentPath(); }

    void record(const MeasurementRecord& record);

signals:
    void rowWritten(qint64 rows, const QString& path);
    // The recording ended on its own: the row could not be written.
    void failed(const QString& reason);

private:
    RecordFile m_file;
    MeasurementMethod m_method;
};
