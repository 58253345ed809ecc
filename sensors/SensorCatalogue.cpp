#include "sensors/SensorCatalogue.h"

#include "measure/Identification.h"
#include "measure/MeasurementMethod.h"
#include "platform/SettingsStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString Section = QStringLiteral("Sensor metadata");

QJsonObject toJson(const ParameterInfo& parameter) {
    return {{QStringLiteral("name"), parameter.Name},
            {QStringLiteral("unit"), parameter.Unit},
            {QStringLiteral("more"), QJsonArray::fromStringList(parameter.More)}};
}

ParameterInfo parameterFrom(const QJsonObject& object) {
    ParameterInfo parameter;
    parameter.Name = object.value(QStringLiteral("name")).toString();
    parameter.Unit = object.value(QStringLiteral("unit")).toString();
    for (const QJsonValue& field : object.value(QStringLiteral("more")).toArray())
        parameter.More << field.toString();
    return parameter;
}

} // namespace

SensorCatalogue::SensorCatalogue(ISettingsStore& store, QObject* parent)
    : ValueLabels(parent), m_store(store) {
    load();
}

// The store matches keys without regard to letter case, and addresses "a"
// and "A" are different sensors: the key is written in hexadecimal digits.
QString SensorCatalogue::keyOf(QChar address, const QString& identity, const QString& method) {
    const QString text = address + QLatin1Char('\n') + method + QLatin1Char('\n') + identity;
    return QString::fromLatin1(text.toUtf8().toHex());
}

void SensorCatalogue::load() {
    for (const auto& [key, value] : m_store.GetAll(ProgramSettingsApplication, Section)) {
        const QJsonObject object = QJsonDocument::fromJson(value.toUtf8()).object();
        Entry entry;
        const QString address = object.value(QStringLiteral("address")).toString();
        entry.Identity = object.value(QStringLiteral("identification")).toString();
        entry.Method = object.value(QStringLiteral("method")).toString();
        if (address.size() != 1 || !MeasurementMethod::FromName(entry.Method))
            continue; // not an entry this program wrote
        entry.Address = address.at(0);
        for (const QJsonValue& parameter : object.value(QStringLiteral("parameters")).toArray())
            entry.Parameters << parameterFrom(parameter.toObject());
        m_entries.insert(keyOf(entry.Address, entry.Identity, entry.Method), entry);
    }
}

QString SensorCatalogue::store(const Entry& entry) {
    QJsonArray parameters;
    for (const ParameterInfo& parameter : entry.Parameters)
        parameters.append(toJson(parameter));
    const QJsonObject object{{QStringLiteral("address"), QString(entry.Address)},
                             {QStringLiteral("identification"), entry.Identity},
                             {QStringLiteral("method"), entry.Method},
                             {QStringLiteral("parameters"), parameters}};
    const QString value = QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    if (m_store.Save(ProgramSettingsApplication, Section,
                     keyOf(entry.Address, entry.Identity, entry.Method), value))
        return QString();
    return tr("The names and units are not remembered for the next run: %1")
        .arg(m_store.ErrorString());
}

QStringList SensorCatalogue::labelsOf(QChar address, const MeasurementMethod& method) const {
    QStringList labels;
    for (const ParameterInfo& parameter : parametersOf(address, method))
        labels << parameter.label();
    return labels;
}

QList<ParameterInfo> SensorCatalogue::parametersOf(QChar address,
                                                   const MeasurementMethod& method) const {
    const std::optional<QString> identity = identityAt(address);
    if (!identity)
        return {};
    return m_entries.value(keyOf(address, *identity, method.Name())).Parameters;
}

void SensorCatalogue::identificationAnswered(QChar address, const QByteArray& answer) {
    const std::optional<Identification> identity = Identification::Decode(answer);
    if (identity && identity->Address == address)
        identified(address, QString::fromLatin1(answer.chopped(2).mid(1)));
}

void SensorCatalogue::identified(QChar address, const QString& identity) {
    if (identityAt(address) == identity)
        return;
    m_identities.insert(address, identity);
    emit changed();
}

void SensorCatalogue::forget(QChar address) {
    if (m_identities.remove(address) > 0)
        emit changed();
}

std::optional<QString> SensorCatalogue::identityAt(QChar address) const {
    const auto found = m_identities.constFind(address);
    if (found == m_identities.constEnd())
        return std::nullopt;
    return *found;
}

QString SensorCatalogue::moved(QChar from, QChar to) {
    const std::optional<QString> identity = identityAt(from);
    m_identities.remove(from);
    if (!identity) {
        const bool forgotten = m_identities.remove(to) > 0;
        if (forgotten)
            emit changed();
        return QString();
    }
    QString failure;
    const QList<Entry> entries = m_entries.values();
    for (const Entry& entry : entries) {
        if (entry.Address != from || entry.Identity != *identity)
            continue;
        Entry carried = entry;
        carried.Address = to;
        m_entries.insert(keyOf(to, carried.Identity, carried.Method), carried);
        const QString notStored = store(carried);
        if (failure.isEmpty())
            failure = notStored;
    }
    m_identities.insert(to, *identity);
    emit changed();
    return failure;
}

QString SensorCatalogue::remember(QChar address, const MeasurementMethod& method,
                                  const QList<ParameterInfo>& parameters) {
    const std::optional<QString> identity = identityAt(address);
    if (!identity)
        return tr("The names and units are not remembered: the sensor at %1 has not identified "
                  "itself")
            .arg(address);
    const Entry entry{address, *identity, method.Name(), parameters};
    m_entries.insert(keyOf(address, *identity, entry.Method), entry);
    emit changed();
    return store(entry);
}
