#pragma once

#include <QChar>
#include <QObject>
#include <QString>
#include <QStringList>

struct MeasurementMethod;

// What a sensor's values are called: "TA (degC)", or the name alone for a
// value without a unit, where the sensor has told its names and units;
// "Value n" where nothing is known. The table, the plot and the CSV of
// measurements ask here, by the address and method measured, so that each
// sensor's values keep their own names.
class ValueLabels : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The labels of the values `method` gives at `address`, in the order
    // the sensor sends them. An empty label, or none (a list shorter than
    // the values), leaves that value unnamed.
    virtual QStringList labelsOf(QChar address, const MeasurementMethod& method) const = 0;

    // Value `number` (from 1) of `labels`, named: its label or "Value n".
    static QString labelAt(const QStringList& labels, int number);

signals:
    // Some sensor's names or units came, went, or moved to another address.
    void changed();
};
