#include "measure/PlotSeries.h"

#include "measure/MeasurementMethod.h"
#include "measure/ValueLabels.h"

#include <QSet>

int PlotSeries::seriesOf(QChar address, const MeasurementMethod& method, int number) {
    const QString key = QStringLiteral("%1 %2 %3").arg(address).arg(method.Name()).arg(number);
    const auto found = m_index.constFind(key);
    if (found != m_index.constEnd())
        return *found;
    m_lines.append({address, method.Name(), number});
    m_index.insert(key, int(m_lines.size()) - 1);
    return int(m_lines.size()) - 1;
}

QList<int> PlotSeries::seriesOfSensor(QChar address) const {
    QList<int> series;
    for (int line = 0; line < m_lines.size(); ++line) {
        if (m_lines.at(line).Address == address)
            series.append(line);
    }
    return series;
}

QStringList PlotSeries::names(const ValueLabels* labels) const {
    QSet<QChar> sensors;
    for (const Line& line : m_lines)
        sensors.insert(line.Address);
    QStringList names;
    for (const Line& line : m_lines) {
        const std::optional<MeasurementMethod> method = MeasurementMethod::FromName(line.Method);
        const QStringList known =
            labels && method ? labels->labelsOf(line.Address, *method) : QStringList();
        const QString name = ValueLabels::labelAt(known, line.Number);
        names.append(sensors.size() > 1 ? QStringLiteral("%1: %2").arg(line.Address).arg(name)
                                        : name);
    }
    return names;
}

void PlotSeries::clear() {
    m_lines.clear();
    m_index.clear();
}
