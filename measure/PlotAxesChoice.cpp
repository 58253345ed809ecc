#include "measure/PlotAxesChoice.h"

#include "platform/SettingsStore.h"

namespace {
const QString Section = QStringLiteral("Plot");
const QString Key = QStringLiteral("OneAxisPerValue");
const QString Yes = QStringLiteral("1");
const QString No = QStringLiteral("0");
} // namespace

bool PlotAxesChoice::LoadOneAxisPerValue(const ISettingsStore& store) {
    for (const auto& [key, value] : store.GetAll(ProgramSettingsApplication, Section)) {
        if (key.compare(Key, Qt::CaseInsensitive) == 0)
            return value != No;
    }
    return true;
}

QString PlotAxesChoice::SaveOneAxisPerValue(ISettingsStore& store, bool oneAxisPerValue) {
    if (store.Save(ProgramSettingsApplication, Section, Key, oneAxisPerValue ? Yes : No))
        return QString();
    return QStringLiteral("The plot's choice of axes was not saved: %1").arg(store.ErrorString());
}
