#include "recording/DailyName.h"

QString DailyName::PathFor(const QString& chosenPath, const QDateTime& time) {
    static const QString Extension = QStringLiteral(".csv");
    QString name = chosenPath;
    if (name.endsWith(Extension, Qt::CaseInsensitive))
        name.chop(Extension.size());
    return name + QLatin1Char('-') + time.toUTC().date().toString(Qt::ISODate) + Extension;
}
