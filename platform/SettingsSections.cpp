#include "platform/SettingsSections.h"

namespace {

bool sameName(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

qsizetype indexOfKey(const ISettingsStore::Entries& entries, const QString& key) {
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (sameName(entries[i].first, key))
            return i;
    }
    return -1;
}

} // namespace

qsizetype SettingsSections::indexOf(const QString& application, const QString& section) const {
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (sameName(m_sections[i].Application, application) &&
            sameName(m_sections[i].Name, section))
            return i;
    }
    return -1;
}

void SettingsSections::Save(const QString& application, const QString& section, const QString& key,
                            const QString& value) {
    qsizetype sectionIndex = indexOf(application, section);
    if (sectionIndex < 0) {
        m_sections.append(Section{application, section, {}});
        sectionIndex = m_sections.size() - 1;
    }
    ISettingsStore::Entries& entries = m_sections[sectionIndex].Entries;
    const qsizetype keyIndex = indexOfKey(entries, key);
    if (keyIndex < 0)
        entries.append({key, value});
    else
        entries[keyIndex].second = value;
}

ISettingsStore::Entries SettingsSections::GetAll(const QString& application,
                                                 const QString& section) const {
    const qsizetype sectionIndex = indexOf(application, section);
    return sectionIndex < 0 ? ISettingsStore::Entries() : m_sections[sectionIndex].Entries;
}

bool SettingsSections::Delete(const QString& application, const QString& section,
                              const QString& key) {
    const qsizetype sectionIndex = indexOf(application, section);
    if (sectionIndex < 0)
        return false;
    ISettingsStore::Entries& entries = m_sections[sectionIndex].Entries;
    const qsizetype keyIndex = indexOfKey(entries, key);
    if (keyIndex < 0)
        return false;
    entries.removeAt(keyIndex);
    if (entries.isEmpty())
        m_sections.removeAt(sectionIndex);
    return true;
}
