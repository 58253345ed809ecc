#include "sensors/BusSurvey.h"

#include "sensors/AddressChangeSequence.h"
#include "sensors/BusAddresses.h"

#include <algorithm>

namespace {

// Where an address stands in a scan of all 62.
int busOrder(QChar address) {
    return int(BusAddresses::of(BusAddresses::Range::All).indexOf(address));
}

} // namespace

void BusSurvey::scanStarted(const QString& addresses) {
    beginResetModel();
    m_rows.clear();
    m_free.clear();
    m_scannedAddresses = addresses;
    m_scanned = true;
    endResetModel();
}

void BusSurvey::addressScanned(const ScanFinding& finding) {
    if (finding.What == ScanFinding::Kind::Absent)
        freeAddress(finding.Address);
    else
        takeAddress(finding);
}

void BusSurvey::addressChanged(QChar from, QChar to, const AddressChangeOutcome& outcome) {
    if (!outcome.Checked)
        return;
    const int fromRow = rowOf(from);
    if (outcome.NewAnswers && !outcome.OldAnswers) {
        ScanFinding moved = fromRow >= 0 ? m_rows.at(fromRow) : ScanFinding{};
        moved.What = ScanFinding::Kind::Found;
        moved.Address = to;
        if (m_ticked.removeAll(from) > 0) // the tick goes with the sensor
            m_ticked.append(to);
        freeAddress(from);
        takeAddress(moved);
    } else if (outcome.NewAnswers) {
        ScanFinding newcomer;
        newcomer.Address = to;
        newcomer.What = ScanFinding::Kind::Found;
        newcomer.Remark = outcome.Report;
        takeAddress(newcomer);
    } else if (!outcome.OldAnswers && fromRow >= 0) {
        m_rows[fromRow].Remark = outcome.Report;
        emit dataChanged(index(fromRow, 0), index(fromRow, ColumnCount - 1));
    }
}

void BusSurvey::freeAddress(QChar address) {
    removeRowOf(address);
    if (!m_free.contains(address))
        m_free.append(address);
    std::sort(m_free.begin(), m_free.end(),
              [](QChar one, QChar other) { return busOrder(one) < busOrder(other); });
}

void BusSurvey::takeAddress(const ScanFinding& sensor) {
    m_free.remove(sensor.Address);
    removeRowOf(sensor.Address);
    int row = 0;
    while (row < m_rows.size() && busOrder(m_rows.at(row).Address) < busOrder(sensor.Address))
        ++row;
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(row, sensor);
    endInsertRows();
}

QString BusSurvey::freeAddresses() const {
    return m_free;
}

QString BusSurvey::refusalToChange(QChar from, QChar to) const {
    if (!m_scanned)
        return tr("No scan yet: scan the bus first, so that only free addresses are offered");
    if (!BusAddresses::isAddress(to))
        return tr("%1 is not an SDI-12 address: give 0-9, A-Z or a-z").arg(to);
    if (to == from)
        return tr("The sensor already has the address %1").arg(to);
    if (!isFree(to))
        return m_scannedAddresses.contains(to)
                   ? tr("The address %1 is taken").arg(to)
                   : tr("The last scan did not look at %1: scan all 62 addresses to offer it")
                         .arg(to);
    return QString();
}

int BusSurvey::rowOf(QChar address) const {
    for (int row = 0; row < m_rows.size(); ++row) {
        if (m_rows.at(row).Address == address)
            return row;
    }
    return -1;
}

void BusSurvey::removeRowOf(QChar address) {
    const int row = rowOf(address);
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

int BusSurvey::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int BusSurvey::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BusSurvey::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QVariant();
    switch (section) {
    case AddressColumn:
        return tr("Address");
    case VersionColumn:
        return tr("SDI-12 version");
    case VendorColumn:
        return tr("Vendor");
    case ModelColumn:
        return tr("Model");
    case SensorVersionColumn:
        return tr("Sensor version");
    case RestColumn:
        return tr("Rest (serial)");
    case RoundTripColumn:
        return tr("Round trip");
    default:
        return QVariant();
    }
}

QList<QChar> BusSurvey::tickedAddresses() const {
    QList<QChar> ticked;
    for (const ScanFinding& sensor : m_rows) {
        if (m_ticked.contains(sensor.Address))
            ticked.append(sensor.Address);
    }
    return ticked;
}

Qt::ItemFlags BusSurvey::flags(const QModelIndex& index) const {
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.column() == AddressColumn ? flags | Qt::ItemIsUserCheckable : flags;
}

bool BusSurvey::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || index.column() != AddressColumn ||
        index.row() >= m_rows.size())
        return false;
    const QChar address = m_rows.at(index.row()).Address;
    m_ticked.removeAll(address);
    if (value.value<Qt::CheckState>() == Qt::Checked)
        m_ticked.append(address);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant BusSurvey::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const ScanFinding& sensor = m_rows.at(index.row());
    if (role == Qt::CheckStateRole && index.column() == AddressColumn)
        return m_ticked.contains(sensor.Address) ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole)
        return sensor.Remark.isEmpty() ? QVariant() : QVariant(sensor.Remark);
    if (role == Qt::TextAlignmentRole && index.column() == RoundTripColumn)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return QVariant();
    return cellText(sensor, index.column());
}

QString BusSurvey::cellText(const ScanFinding& sensor, int column) const {
    if (column == AddressColumn)
        return sensor.Address;
    if (column == RoundTripColumn)
        return sensor.RoundTripMs < 0 ? QString() : tr("%1 ms").arg(sensor.RoundTripMs);
    if (!sensor.Identity)
        return column == VersionColumn && sensor.What == ScanFinding::Kind::Unclear ? tr("unclear")
                                                                                    : QString();
    const Identification& identity = *sensor.Identity;
    switch (column) {
    case VersionColumn:
        return identity.Sdi12Version;
    case VendorColumn:
        return identity.Vendor;
    case ModelColumn:
        return identity.Model;
    case SensorVersionColumn:
        return identity.SensorVersion;
    default:
        return identity.Rest;
    }
}
