#include "measure/MeasureChoices.h"

#include "measure/MeasurementMethod.h"
#include "platform/SettingsStore.h"

namespace {
const QString& Application = ProgramSettingsApplication;
const QString Section = QStringLiteral("Measure");
const QString MethodKey = QStringLiteral("Method");
const QString RepeatKey = QStringLiteral("Repeat");
} // namespace

MeasureChoices MeasureChoices::Load(const ISettingsStore& store) {
    MeasureChoices choices;
    for (const auto& [key, value] : store.GetAll(Application, Section)) {
        if (key.compare(MethodKey, Qt::CaseInsensitive) == 0 && MeasurementMethod::FromName(value))
            choices.Method = value;
        if (key.compare(RepeatKey, Qt::CaseInsensitive) == 0) {
            bool number = false;
            const int seconds = value.toInt(&number);
            if (number && seconds >= 0 && seconds <= MaxRepeatSeconds)
                choices.RepeatSeconds = seconds;
        }
    }
    return choices;
}

QString MeasureChoices::Save(ISettingsStore& store) const {
    if (store.Save(Application, Section, MethodKey, Method) &&
        store.Save(Application, Section, RepeatKey, QString::number(RepeatSeconds)))
        return QString();
    return QStringLiteral("The Measure tab's choices were not saved: %1").arg(store.ErrorString());
}
