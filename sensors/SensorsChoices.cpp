#include "sensors/SensorsChoices.h"

#include "platform/SettingsStore.h"

#include <QCoreApplication>

namespace {
const QString Section = QStringLiteral("Sensors");
const QString RetriesKey = QStringLiteral("Retries");
const QString TimeoutKey = QStringLiteral("FirstByteTimeout");
} // namespace

SensorsChoices SensorsChoices::load(const ISettingsStore& store) {
    SensorsChoices choices;
    for (const auto& [key, value] : store.GetAll(ProgramSettingsApplication, Section)) {
        if (key.compare(RetriesKey, Qt::CaseInsensitive) == 0 &&
            (value == QLatin1String("0") || value == QLatin1String("1")))
            choices.Retries.Enabled = value == QLatin1String("1");
        if (key.compare(TimeoutKey, Qt::CaseInsensitive) == 0) {
            bool number = false;
            const int milliseconds = value.toInt(&number);
            if (number && milliseconds >= RetrySettings::LeastFirstByteTimeoutMs &&
                milliseconds <= RetrySettings::MostFirstByteTimeoutMs)
                choices.Retries.FirstByteTimeoutMs = milliseconds;
        }
    }
    return choices;
}

QString SensorsChoices::save(ISettingsStore& store) const {
    if (store.Save(ProgramSettingsApplication, Section, RetriesKey,
                   Retries.Enabled ? QStringLiteral("1") : QStringLiteral("0")) &&
        store.Save(ProgramSettingsApplication, Section, TimeoutKey,
                   QString::number(Retries.FirstByteTimeoutMs)))
        return QString();
    return QCoreApplication::translate("SensorsChoices",
                                       "The Sensors tab's settings were not saved: %1")
        .arg(store.ErrorString());
}
