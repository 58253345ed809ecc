#pragma once

#include <QStringList>

class ISettingsStore;

// The commands the operator has sent, kept in the per-user settings store
// under application "PROBETRM", section "Commands": one entry per command
// text, valued with the local date and time of its latest send.
class CommandHistory {
public:
    explicit CommandHistory(ISettingsStore& store) : m_store(store) {}

    void Remember(const QString& command, const QString& sentAt);
    // In the store's own order.
    QStringList Commands() const;
    // A command that has no entry is simply not there: nothing to report.
    void Forget(const QString& command);

private:
    ISettingsStore& m_store;
};
