#pragma once

#include "measure/MeasurementAnswers.h"
#include "recording/RecordColumns.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

struct MeasurementMethod;
struct MeasurementRecord;

// One row of a record file: one sensor's measurement.
struct RecordRow {
    QDateTime Time; // when the measurement started
    QChar Address;
    QString Method; // "M", "CC1" ...
    QList<MeasuredValue> Values;
    QString Result; // "OK", or what went wrong

    static RecordRow FromMeasurement(QChar address, const MeasurementMethod& method,
                                     const MeasurementRecord& record);
};

// How the time of a row is written: in UTC ("2026-01-31T14:05:09Z"), or in
// local time with its offset ("2026-01-31T15:05:09+01:00").
enum class RecordTimes { Utc, Local };

// The lines of a record file, a CSV file in "long" form: the header
// "Time,Address,Method,<value columns>,Result", then one row per sensor per
// measurement, each filling only its own value columns. Values are written
// as the sensor sent them, so "." is the decimal point whatever the locale.
// Fields are quoted where they need it; lines end in CR LF.
namespace RecordCsv {

QByteArray HeaderLine(const RecordColumns& columns);
// Nothing when the row holds more values than the columns have for its sensor.
std::optional<QByteArray> RowLine(const RecordColumns& columns, const RecordRow& row,
                                  RecordTimes times);
QString TimeText(const QDateTime& time, RecordTimes times);

} // namespace RecordCsv
