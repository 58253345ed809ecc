#include "sensors/ParameterTable.h"

namespace {
enum Column { ValueColumn, NameColumn, UnitColumn, MoreColumn, ColumnCount };
} // namespace

void ParameterTable::show(const QList<ParameterInfo>& parameters) {
    beginResetModel();
    m_parameters = parameters;
    endResetModel();
}

int ParameterTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_parameters.size());
}

int ParameterTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ParameterTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QVariant();
    switch (section) {
    case ValueColumn:
        return tr("Value");
    case NameColumn:
        return tr("Name");
    case UnitColumn:
        return tr("Unit");
    case MoreColumn:
        return tr("Further fields");
    default:
        return QVariant();
    }
}

QVariant ParameterTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_parameters.size() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    const ParameterInfo& parameter = m_parameters.at(index.row());
    switch (index.column()) {
    case ValueColumn:
        return index.row() + 1;
    case NameColumn:
        return parameter.Name;
    case UnitColumn:
        return parameter.Unit;
    default:
        return parameter.More.join(QStringLiteral(", "));
    }
}
