#pragma once

#include "measure/ValueLabels.h"
#include "sensors/ParameterAnswer.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class ISettingsStore;

// Which sensor answers at which address, as far as this session has seen
// (a scan, an address change, any answer to "aI!"), and the names and units
// each sensor has told of its methods' values. Those are remembered in the
// settings store, so they survive a restart, by the address and the
// identification text together: another sensor put on that address
// identifies itself otherwise and inherits nothing. Which sensor sits where
// is not remembered: after a restart a scan or an identification says it.
class SensorCatalogue : public ValueLabels {
    Q_OBJECT
public:
    explicit SensorCatalogue(ISettingsStore& store, QObject* parent = nullptr);

    QStringList labelsOf(QChar address, const MeasurementMethod& method) const override;

    // `answer` came to "aI!" sent to `address`: when it is a sound
    // identification from that address, the sensor there is the one it
    // names.
    void identificationAnswered(QChar address, const QByteArray& answer);
    // The sensor at `address` identified itself with `identity`: its answer
    // to "aI!" after the address.
    void identified(QChar address, const QString& identity);
    // Nothing answers at `address` any more.
    void forget(QChar address);
    // The sensor at `from` answers at `to` now; what it told goes with it.
    // Empty, or why that could not be remembered.
    QString moved(QChar from, QChar to);
    std::optional<QString> identityAt(QChar address) const;

    // Remembers what the sensor now at `address` told of `method`'s values.
    // Empty, or why it could not be remembered (it is known this session
    // all the same). The sensor must have been identified.
    QString remember(QChar address, const MeasurementMethod& method,
                     const QList<ParameterInfo>& parameters);
    QList<ParameterInfo> parametersOf(QChar address, const MeasurementMethod& method) const;

private:
    struct Entry {
        QChar Address;
        QString Identity;
        QString Method;
        QList<ParameterInfo> Parameters;
    };

    static QString keyOf(QChar address, const QString& identity, const QString& method);
    void load();
    QString store(const Entry& entry);

    ISettingsStore& m_store;
    QHash<QString, Entry> m_entries; // by keyOf
    QHash<QChar, QString> m_identities;
};
