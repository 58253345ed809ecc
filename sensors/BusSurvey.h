#pragma once

#include "sensors/ScanSequence.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

struct AddressChangeOutcome;

// What the last scan found, as a table of the sensors it found (address,
// SDI-12 version, vendor, model, sensor version, the rest of the
// identification, the round trip of "a!"), and the addresses it found free.
// Address changes made since keep both up to date. A row whose address
// answered without a readable identification, or not clearly at all, keeps
// the reason as its tooltip.
class BusSurvey : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        AddressColumn,
        VersionColumn,
        VendorColumn,
        ModelColumn,
        SensorVersionColumn,
        RestColumn,
        RoundTripColumn,
        ColumnCount
    };

    using QAbstractTableModel::QAbstractTableModel;

    // A scan of `addresses` begins: what the last one found is forgotten.
    void scanStarted(const QString& addresses);
    void addressScanned(const ScanFinding& finding);
    // Some address change ran from `from` to `to`.
    void addressChanged(QChar from, QChar to, const AddressChangeOutcome& outcome);

    bool hasScan() const { return m_scanned; }
    // The addresses the last scan found nobody at, in bus order, less those
    // taken since.
    QString freeAddresses() const;
    bool isFree(QChar address) const { return m_free.contains(address); }
    // Why the sensor at `from` cannot be given the address `to`; empty when
    // it can. Nothing may be sent when it cannot.
    QString refusalToChange(QChar from, QChar to) const;

    const QList<ScanFinding>& sensors() const { return m_rows; }
    // The found sensors the operator ticked (in the address column), in bus
    // order: those a measurement or a recording is to cover.
    QList<QChar> tickedAddresses() const;
    // The row of the sensor at `address`, or -1.
    int rowOf(QChar address) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString cellText(const ScanFinding& sensor, int column) const;
    QList<QChar> m_ticked;
    void freeAddress(QChar address);
    // Puts the row in its place, replacing any at its address.
    void takeAddress(const ScanFinding& sensor);
    void removeRowOf(QChar address);

    bool m_scanned = false;
    QString m_scannedAddresses; // the last scan's, in bus order
    QString m_free;
    QList<ScanFinding> m_rows; // in bus order
};
