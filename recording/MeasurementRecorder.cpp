#include "recording/MeasurementRecorder.h"

#include "measure/MeasurementTable.h"

#include <QDir>

RecordOpening MeasurementRecorder::start(const QString& path, const QList<SensorLabels>& sensors,
                                         const MeasurementMethod& method,
                                         const RecordOptions& options, const QDateTime& now) {
    m_method = method;
    return m_file.Open(path, RecordColumns(sensors), options, now);
}

void MeasurementRecorder::stop() {
    m_file.Close();
}

void MeasurementRecorder::record(const MeasurementRecord& record) {
    if (!isRecording())
        return;
    if (m_file.AppendRow(RecordRow::FromMeasurement(record.Address, m_method, record))) {
        emit rowWritten(m_file.RowsWritten(), m_file.CurrentPath());
        return;
    }
    const QString reason =
        tr("Recording stopped: a row cannot be written to %1 (%2); the %3 "
           "rows before it are whole")
            .arg(QDir::toNativeSeparators(m_file.CurrentPath()), m_file.ErrorString())
            .arg(m_file.RowsWritten());
    m_file.Close();
    emit failed(reason);
}
