#pragma once

#include "measure/MeasurementSequence.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QList>
#include <QPointer>

class ValueLabels;

// One measurement as the table keeps it: when its cycle started, of which
// sensor, with which command and method, and how it ended.
struct MeasurementRecord {
    QDateTime Time;
    QString Command;
    MeasurementOutcome Outcome;
    QChar Address;
    MeasurementMethod Method{};
};

// The table of measurements, one row each: the time, the values, and the
// result ("OK", or what went wrong, with the retries it took). A failed row
// keeps the values that did come, but its result names the failure, so it
// never reads as complete. The value columns grow to the most values any
// row holds; they are named by the sensor's labels while every row comes
// from one sensor and method, and "Value 1" ... "Value n" otherwise. It
// keeps the latest RowLimit rows, so that days of recording keep memory
// flat; the record file keeps them all.
class MeasurementTable : public QAbstractTableModel {
    Q_OBJECT
public:
    static inline const QString CompleteResult = QStringLiteral("OK");
    static constexpr int RowLimit = 10000;

    using QAbstractTableModel::QAbstractTableModel;

    // Where the value columns get their names; none names them "Value n".
    // The titles follow the labels as they change.
    void SetValueLabels(const ValueLabels* labels);
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

    // The column titles: "Time", the value columns' names, "Result".
    QStringList ColumnTitles() const;
    // The value columns' names: "TA (degC)" ... or "Value 1" ...
    QStringList ValueTitles() const;

private:
    void labelsChanged();

    QList<MeasurementRecord> m_records;
    int m_valueColumns = 0;
    QPointer<const ValueLabels> m_labels;
    // The rows come from more than one sensor or method.
    bool m_mixedSources = false;
};
