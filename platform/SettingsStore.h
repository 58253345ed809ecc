#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The application name under which this program keeps its own settings.
inline const QString ProgramSettingsApplication = QStringLiteral("PROBETRM");

// The per-user settings store: entries of (key, value) by application and
// section. Keys are matched without regard to letter case, as the store
// has always matched them; any key text round-trips exactly.
class ISettingsStore {
public:
    using Entries = QList<QPair<QString, QString>>;
    virtual ~ISettingsStore() = default;
    // Creates the entry or replaces its value. False when it could not be stored.
    virtual bool Save(const QString& application, const QString& section, const QString& key,
                      const QString& value) = 0;
    // The section's entries in the store's listing order; empty when none.
    virtual Entries GetAll(const QString& application, const QString& section) const = 0;
    // Removes one entry; false when there was none (or it could not be removed).
    virtual bool Delete(const QString& application, const QString& section, const QString& key) = 0;
    // Why the latest Save or Delete failed, as a sentence; "" when it did not
    // fail, or the store cannot fail.
    virtual QString ErrorString() const { return QString(); }
};
