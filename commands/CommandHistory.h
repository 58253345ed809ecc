#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>

class ISettingsStore;

// The commands the operator has sent, kept in the per-user settings store
// under application "PROBETRM", section "Commands": one entry per command
// text, valued with the local date and time of its latest send. A command
// the store cannot take (its file locked by another program, a full disk)
// is held here and saved with the next one.
class CommandHistory {
public:
    explicit CommandHistory(ISettingsStore& store) : m_store(store) {}

    // Saves the command with what is still held. Returns a sentence for
    // status panel 1 when the store refused it; an empty text otherwise.
    QString Remember(const QString& command, const QString& sentAt);
    // In the store's own order, then those still held.
    QStringList Commands() const;
    // A command that has no entry is simply not there: nothing to report.
    void Forget(const QString& command);

private:
    using Entry = QPair<QString, QString>; // command, time of its latest send
    void dropHeld(const QString& command);

    ISettingsStore& m_store;
    QVector<Entry> m_held; // in the order they were sent
};
