#pragma once

#include "platform/SettingsSections.h"
#include "platform/SettingsStore.h"

// The settings store in memory, with the file store's matching and ordering
// rules, for window tests.
class MemorySettingsStore : public ISettingsStore {
public:
    bool Save(const QString& application, const QString& section, const QString& key,
              const QString& value) override;
    Entries GetAll(const QString& application, const QString& section) const override;
    bool Delete(const QString& application, const QString& section, const QString& key) override;

private:
    SettingsSections m_sections;
};
