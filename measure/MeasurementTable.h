#pragma once

#include "measure/MeasurementSequence.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>

// One measurement as the table keeps it: when its cycle started, of which
// sensor, with which command, and how it ended.
struct MeasurementRecord {
    QDateTime Time;
    QString Command;
    MeasurementOutcome Outcome;
    QChar Address;
};

// The table of measurements, one row each: the time, value 1 ... n, and the
// result ("OK", or what went wrong, with the retries it took). A failed row
// keeps the values that did come, but its result names the failure, so it
// never reads as complete. The value columns grow to the most values any
// row holds. It keeps the latest RowLimit rows, so that days of recording
// keep memory flat; the record file keeps them all.
class MeasurementTable : public QAbstractTableModel {
    Q_OBJECT
public:
    static inline const QString CompleteResult = QStringLiteral("OK");
    static constexpr int RowLimit = 10000;

    using QAbstractTableModel::QAbstractTableModel;

    void Append(const MeasurementRecord& record);
    void Clear();
    const QList<MeasurementRecord>& Records() const { return m_records; }
    int ValueColumns() const { return m_valueColumns; }
    static QString ResultOf(const MeasurementRecord& record);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The column titles: "Time", "Value 1" ... "Value n", "Result".
    QStringList ColumnTitles() const;

private:
    QList<MeasurementRecord> m_records;
    int m_valueColumns = 0;
};
