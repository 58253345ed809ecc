#pragma once

#include <QChar>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class ValueLabels;
struct MeasurementMethod;

// Which line of the plot each sensor's value is drawn on: one line per
// sensor and value, numbered as they first come. The lines are named by
// the sensors' labels ("TA (degC)"), and, once several sensors share the
// plot, with the sensor's address in front ("0: TA (degC)").
class PlotSeries {
public:
    // The line of value `number` (from 1) of the sensor at `address`.
    int seriesOf(QChar address, const MeasurementMethod& method, int number);
    // The lines of every value the sensor has had so far.
    QList<int> seriesOfSensor(QChar address) const;
    int count() const { return int(m_lines.size()); }
    QStringList names(const ValueLabels* labels) const;
    void clear();

private:
    struct Line {
        QChar Address;
        QString Method;
        int Number = 0;
    };
    QList<Line> m_lines;
    QHash<QString, int> m_index; // "address method number" to its line
};
