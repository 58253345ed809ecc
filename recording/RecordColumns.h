#pragma once

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The names of one sensor's values, in the order it sends them: "name (unit)"
// where its metadata is known. An empty name stands for "Value n", n being
// the value's place.
struct SensorLabels {
    QChar Address;
    QStringList Labels;
};

// The value columns of a record file that several sensors share: the union
// of their labels in the order they first appear. A label names one column,
// whichever sensors use it, so sensors without metadata share "Value 1" ...
// "Value n"; a sensor that names two values alike has two columns of that
// name. Each sensor's values go to the columns of their labels.
class RecordColumns {
public:
    RecordColumns() = default;
    explicit RecordColumns(const QList<SensorLabels>& sensors);

    // "Value 1" ... "Value count", for a sensor whose metadata is unknown.
    static QStringList NumberedLabels(int count);

    QStringList Titles() const { return m_titles; }
    // The column of each of the sensor's values, in the order it sends them;
    // nothing for a sensor the columns were not made for.
    QList<int> PlacesOf(QChar address) const { return m_places.value(address); }

private:
    QStringList m_titles;
    QHash<QChar, QList<int>> m_places;
};
