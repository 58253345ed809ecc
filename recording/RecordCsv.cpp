#include "recording/RecordCsv.h"

#include "measure/MeasurementCsv.h"
#include "measure/MeasurementMethod.h"
#include "measure/MeasurementTable.h"

RecordRow RecordRow::FromMeasurement(QChar address, const MeasurementMethod& method,
                                     const MeasurementRecord& record) {
    return {record.Time, address, method.Name(), record.Outcome.Values,
            MeasurementTable::ResultOf(record)};
}

QByteArray RecordCsv::HeaderLine(const RecordColumns& columns) {
    const QStringList fields =
        QStringList{QStringLiteral("Time"), QStringLiteral("Address"), QStringLiteral("Method")} +
        columns.Titles() + QStringList{QStringLiteral("Result")};
    return MeasurementCsv::Line(fields).toUtf8();
}

std::optional<QByteArray> RecordCsv::RowLine(const RecordColumns& columns, const RecordRow& row,
                                             RecordTimes times) {
    const QList<int> places = columns.PlacesOf(row.Address);
    if (row.Values.size() > places.size())
        return std::nullopt;
    QStringList values(columns.Titles().size());
    for (qsizetype value = 0; value < row.Values.size(); ++value)
        values[places.at(value)] = row.Values.at(value).Text;
    const QStringList fields = QStringList{TimeText(row.Time, times), row.Address, row.Method} +
                               values + QStringList{row.Result};
    return MeasurementCsv::Line(fields).toUtf8();
}

QString RecordCsv::TimeText(const QDateTime& time, RecordTimes times) {
    if (times == RecordTimes::Utc)
        return time.toUTC().toString(Qt::ISODate);
    const QDateTime local = time.toLocalTime();
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODate);
}
