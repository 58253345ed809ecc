#pragma once

#include "sensors/ParameterAnswer.h"

#include <QAbstractTableModel>
#include <QList>

// The names and units a sensor told of one method's values, one row each:
// the value's number, its name, its unit and any further fields.
class ParameterTable : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void show(const QList<ParameterInfo>& parameters);
    const QList<ParameterInfo>& parameters() const { return m_parameters; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<ParameterInfo> m_parameters;
};
