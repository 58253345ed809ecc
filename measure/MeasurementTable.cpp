#include "measure/MeasurementTable.h"

#include "measure/ValueLabels.h"

namespace {
constexpr int TimeColumn = 0;
constexpr int FirstValueColumn = 1;

bool sameSource(const MeasurementRecord& one, const MeasurementRecord& other) {
    return one.Address == other.Address && one.Method.Name() == other.Method.Name();
}
} // namespace

void MeasurementTable::SetValueLabels(const ValueLabels* labels) {
    if (m_labels)
        disconnect(m_labels, nullptr, this, nullptr);
    m_labels = labels;
    if (labels)
        connect(labels, &ValueLabels::changed, this, &MeasurementTable::labelsChanged);
    labelsChanged();
}

void MeasurementTable::labelsChanged() {
    if (m_valueColumns > 0)
        emit headerDataChanged(Qt::Horizontal, FirstValueColumn,
                               FirstValueColumn + m_valueColumns - 1);
}

void MeasurementTable::Append(const MeasurementRecord& record) {
    const bool newSource =
        !m_records.isEmpty() && !m_mixedSources && !sameSource(m_records.first(), record);
    const int values = int(record.Outcome.Values.size());
    if (values > m_valueColumns) {
        beginInsertColumns(QModelIndex(), FirstValueColumn + m_valueColumns,
                           FirstValueColumn + values - 1);
        m_valueColumns = values;
        endInsertColumns();
    }
    if (m_records.size() >= RowLimit) {
        beginRemoveRows(QModelIndex(), 0, 0);
        m_records.removeFirst();
        endRemoveRows();
    }
    const int row = int(m_records.size());
    beginInsertRows(QModelIndex(), row, row);
    m_records.append(record);
    endInsertRows();
    if (newSource) {
        m_mixedSources = true;
        labelsChanged();
    }
}

void MeasurementTable::Clear() {
    beginResetModel();
    m_records.clear();
    m_valueColumns = 0;
    m_mixedSources = false;
    endResetModel();
}

QString MeasurementTable::ResultOf(const MeasurementRecord& record) {
    const QString result = record.Outcome.IsComplete() ? CompleteResult : record.Outcome.Fault;
    const int retries = record.Outcome.Retries;
    if (retries == 0)
        return result;
    return result + (retries == 1 ? tr(" (1 retry)") : tr(" (%1 retries)").arg(retries));
}

int MeasurementTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_records.size());
}

int MeasurementTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FirstValueColumn + m_valueColumns + 1;
}

QStringList MeasurementTable::ColumnTitles() const {
    return QStringList{tr("Time")} + ValueTitles() + QStringList{tr("Result")};
}

QStringList MeasurementTable::ValueTitles() const {
    QStringList labels;
    if (m_labels && !m_records.isEmpty() && !m_mixedSources) {
        const MeasurementRecord& source = m_records.first();
        labels = m_labels->labelsOf(source.Address, source.Method);
    }
    QStringList titles;
    for (int value = 1; value <= m_valueColumns; ++value)
        titles << ValueLabels::labelAt(labels, value);
    return titles;
}

QVariant MeasurementTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical)
        return section + 1;
    return ColumnTitles().value(section);
}

QVariant MeasurementTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_records.size())
        return QVariant();
    const MeasurementRecord& record = m_records.at(index.row());
    const int column = index.column();
    const bool isResult = column == FirstValueColumn + m_valueColumns;
    if (role == Qt::TextAlignmentRole && !isResult && column != TimeColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    if (column == TimeColumn)
        return record.Time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (isResult)
        return ResultOf(record);
    const int value = column - FirstValueColumn;
    if (value < record.Outcome.Values.size())
        return record.Outcome.Values.at(value).Text;
    return QVariant();
}
