#include "recording/RecordColumns.h"

namespace {

QString numberedLabel(qsizetype number) {
    return QStringLiteral("Value %1").arg(number);
}

} // namespace

RecordColumns::RecordColumns(const QList<SensorLabels>& sensors) {
    for (const SensorLabels& sensor : sensors) {
        QList<int>& places = m_places[sensor.Address];
        places.clear();           // a sensor listed twice keeps its last labels
        QHash<QString, int> seen; // how often each title came up for this sensor
        for (qsizetype value = 0; value < sensor.Labels.size(); ++value) {
            const QString& label = sensor.Labels.at(value);
            const QString title = label.isEmpty() ? numberedLabel(value + 1) : label;
            // The n-th value of a name goes to the n-th column of that name.
            int occurrence = seen[title]++;
            int column = -1;
            for (qsizetype each = 0; each < m_titles.size() && column < 0; ++each) {
                if (m_titles.at(each) == title && occurrence-- == 0)
                    column = int(each);
            }
            if (column < 0) {
                column = int(m_titles.size());
                m_titles << title;
            }
            places << column;
        }
    }
}

QStringList RecordColumns::NumberedLabels(int count) {
    QStringList labels;
    for (int value = 1; value <= count; ++value)
        labels << numberedLabel(value);
    return labels;
}
