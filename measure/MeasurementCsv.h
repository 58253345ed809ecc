#pragma once

#include <QByteArray>
#include <QStringList>

class MeasurementTable;

// The table as a CSV file that a spreadsheet opens: a header row, then one
// row per measurement with its time in ISO 8601 (local time with its UTC
// offset), its values as the sensor sent them ("." as the decimal point
// whatever the locale) and its result. Fields that hold a comma, a quote or
// a line end are quoted.
namespace MeasurementCsv {

QByteArray Format(const MeasurementTable& table);
// One line of such a file: the fields, quoted where needed, and CR LF.
QString Line(const QStringList& fields);

} // namespace MeasurementCsv
