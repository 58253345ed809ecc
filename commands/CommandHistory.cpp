#include "commands/CommandHistory.h"

#include "platform/SettingsStore.h"

namespace {
const QString Application = QStringLiteral("PROBETRM");
const QString Section = QStringLiteral("Commands");
} // namespace

void CommandHistory::Remember(const QString& command, const QString& sentAt) {
    m_store.Save(Application, Section, command, sentAt);
}

QStringList CommandHistory::Commands() const {
    QStringList commands;
    for (const auto& entry : m_store.GetAll(Application, Section))
        commands << entry.first;
    return commands;
}

void CommandHistory::Forget(const QString& command) {
    m_store.Delete(Application, Section, command);
}
