#include "measure/MeasurementCsv.h"

#include "measure/MeasurementTable.h"

namespace {

QString field(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString isoTime(const QDateTime& time) {
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

} // namespace

QString MeasurementCsv::Line(const QStringList& fields) {
    QStringList quoted;
    for (const QString& each : fields)
        quoted << field(each);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QByteArray MeasurementCsv::Format(const MeasurementTable& table) {
    QString text;
    text += Line(table.ColumnTitles());
    for (const MeasurementRecord& record : table.Records()) {
        QStringList fields{isoTime(record.Time)};
        for (int value = 0; value < table.ValueColumns(); ++value)
            fields << (value < record.Outcome.Values.size() ? record.Outcome.Values.at(value).Text
                                                            : QString());
        fields << MeasurementTable::ResultOf(record);
        text += Line(fields);
    }
    return text.toUtf8();
}
