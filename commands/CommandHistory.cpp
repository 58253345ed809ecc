#include "commands/CommandHistory.h"

#include "platform/SettingsStore.h"

namespace {
const QString& Application = ProgramSettingsApplication;
const QString Section = QStringLiteral("Commands");

// The store matches command texts without regard to letter case.
bool sameCommand(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}
} // namespace

QString CommandHistory::Remember(const QString& command, const QString& sentAt) {
    dropHeld(command);
    m_held.append({command, sentAt});
    while (!m_held.isEmpty()) {
        if (!m_store.Save(Application, Section, m_held.first().first, m_held.first().second))
            return QStringLiteral("The command history was not saved: %1 It is kept and saved "
                                  "with the next command.")
                .arg(m_store.ErrorString());
        m_held.removeFirst();
    }
    return QString();
}

QStringList CommandHistory::Commands() const {
    QStringList commands;
    for (const auto& entry : m_store.GetAll(Application, Section))
        commands << entry.first;
    for (const Entry& entry : m_held) {
        if (!commands.contains(entry.first, Qt::CaseInsensitive))
            commands << entry.first;
    }
    return commands;
}

void CommandHistory::Forget(const QString& command) {
    dropHeld(command);
    m_store.Delete(Application, Section, command);
}

void CommandHistory::dropHeld(const QString& command) {
    m_held.removeIf([&](const Entry& entry) { return sameCommand(entry.first, command); });
}
