#pragma once

#include "platform/SettingsSections.h"
#include "platform/SettingsStore.h"

#include <QString>
#include <functional>

// The settings store on a per-user JSON file. Every change takes a lock file
// beside the store, reads the file afresh, applies itself and replaces the
// file atomically, so two programs saving at once lose nothing of each other
// and a crash or a full disk leaves the earlier file whole. A change waits
// for the lock about 100 ms at most, then fails; a lock left by a program
// that died is taken over once its owner is gone or it is 2 s old. A file
// that cannot be parsed reads as empty; the first change moves it aside to
// "<file>.bad" (or ".bad2", ".bad3", ...) before writing a new one.
class FileSettingsStore : public ISettingsStore {
public:
    explicit FileSettingsStore(const QString& path = DefaultPath());

    // <per-user config folder>/Quenvarel/ProbeTerm/settings.json
    static QString DefaultPath();
    QString Path() const { return m_path; }

    bool Save(const QString& application, const QString& section, const QString& key,
              const QString& value) override;
    Entries GetAll(const QString& application, const QString& section) const override;
    bool Delete(const QString& application, const QString& section, const QString& key) override;
    QString ErrorString() const override { return m_error; }

private:
    // Applies change to the file's present sections under the lock; writes
    // them back when change returns true. False when nothing was stored.
    bool update(const std::function<bool(SettingsSections&)>& change);

    QString m_path;
    QString m_error;
};
