#include "recording/RecordingChoices.h"

#include "platform/SettingsStore.h"

namespace {
const QString& Application = ProgramSettingsApplication;
const QString Section = QStringLiteral("Recording");
const QString DailyKey = QStringLiteral("Daily");
const QString LocalTimeKey = QStringLiteral("LocalTime");
const QString FileKey = QStringLiteral("File");
const QString Yes = QStringLiteral("1");
} // namespace

RecordingChoices RecordingChoices::Load(const ISettingsStore& store) {
    RecordingChoices choices;
    for (const auto& [key, value] : store.GetAll(Application, Section)) {
        if (key.compare(DailyKey, Qt::CaseInsensitive) == 0)
            choices.Options.Daily = value == Yes;
        else if (key.compare(LocalTimeKey, Qt::CaseInsensitive) == 0)
            choices.Options.Times = value == Yes ? RecordTimes::Local : RecordTimes::Utc;
        else if (key.compare(FileKey, Qt::CaseInsensitive) == 0)
            choices.LastFile = value;
    }
    return choices;
}

QString RecordingChoices::Save(ISettingsStore& store) const {
    const auto flag = [](bool on) { return on ? Yes : QStringLiteral("0"); };
    if (store.Save(Application, Section, DailyKey, flag(Options.Daily)) &&
        store.Save(Application, Section, LocalTimeKey, flag(Options.Times == RecordTimes::Local)) &&
        store.Save(Application, Section, FileKey, LastFile))
        return QString();
    return QStringLiteral("The recording's choices were not saved: %1").arg(store.ErrorString());
}
