#pragma once

#include <QDateTime>
#include <QString>

namespace DailyName {

// The file of the UTC day of `time` for a recording that starts a new file
// each day: "<name>-YYYY-MM-DD.csv", name being the chosen path without a
// trailing ".csv".
QString PathFor(const QString& chosenPath, const QDateTime& time);

} // namespace DailyName
