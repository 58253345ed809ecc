#include "support/MemorySettingsStore.h"

bool MemorySettingsStore::Save(const QString& application, const QString& section,
                               const QString& key, const QString& value) {
    m_sections.Save(application, section, key, value);
    return true;
}

ISettingsStore::Entries MemorySettingsStore::GetAll(const QString& application,
                                                    const QString& section) const {
    return m_sections.GetAll(application, section);
}

bool MemorySettingsStore::Delete(const QString& application, const QString& section,
                                 const QString& key) {
    return m_sections.Delete(application, section, key);
}
