#pragma once

#include "platform/SettingsStore.h"

#include <QList>
#include <QString>

// The sections of a settings store held in memory, with the store's rules:
// application, section and key names are matched without regard to letter
// case, the spelling of an entry's first save is kept while later saves
// replace its value, and entries are listed in the order they were created.
class SettingsSections {
public:
    struct Section {
        QString Application;
        QString Name;
        ISettingsStore::Entries Entries;
    };

    SettingsSections() = default;
    explicit SettingsSections(QList<Section> sections) : m_sections(std::move(sections)) {}

    void Save(const QString& application, const QString& section, const QString& key,
              const QString& value);
    ISettingsStore::Entries GetAll(const QString& application, const QString& section) const;
    // False when there was no such entry. A section left empty is dropped.
    bool Delete(const QString& application, const QString& section, const QString& key);

    const QList<Section>& Sections() const { return m_sections; }

private:
    qsizetype indexOf(const QString& application, const QString& section) const;

    QList<Section> m_sections;
};
