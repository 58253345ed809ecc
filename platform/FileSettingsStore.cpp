#include "platform/FileSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <optional>

// The file holds {"sections": [{"application": A, "section": S,
// "entries": [[key, value], ...]}, ...]}: arrays keep the listing order,
// which JSON objects would not.
namespace {

constexpr int LockWaitMs = 10000;

enum class FileState { Missing, Parsed, Corrupt, Unreadable };

struct LoadedFile {
    FileState State;
    SettingsSections Sections;
};

std::optional<SettingsSections> parse(const QByteArray& bytes) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        !document.object().value(QLatin1String("sections")).isArray())
        return std::nullopt;
    QList<SettingsSections::Section> sections;
    for (const QJsonValue& sectionValue :
         document.object().value(QLatin1String("sections")).toArray()) {
        const QJsonObject object = sectionValue.toObject();
        const QJsonValue application = object.value(QLatin1String("application"));
        const QJsonValue name = object.value(QLatin1String("section"));
        const QJsonValue entries = object.value(QLatin1String("entries"));
        if (!application.isString() || !name.isString() || !entries.isArray())
            return std::nullopt;
        SettingsSections::Section section{application.toString(), name.toString(), {}};
        for (const QJsonValue& entryValue : entries.toArray()) {
            const QJsonArray entry = entryValue.toArray();
            if (entry.size() != 2 || !entry.at(0).isString() || !entry.at(1).isString())
                return std::nullopt;
            section.Entries.append({entry.at(0).toString(), entry.at(1).toString()});
        }
        sections.append(section);
    }
    return SettingsSections(sections);
}

QByteArray serialize(const SettingsSections& sections) {
    QJsonArray sectionArray;
    for (const SettingsSections::Section& section : sections.Sections()) {
        QJsonArray entries;
        for (const auto& [key, value] : section.Entries)
            entries.append(QJsonArray{key, value});
        sectionArray.append(QJsonObject{{QLatin1String("application"), section.Application},
                                        {QLatin1String("section"), section.Name},
                                        {QLatin1String("entries"), entries}});
    }
    return QJsonDocument(QJsonObject{{QLatin1String("sections"), sectionArray}})
        .toJson(QJsonDocument::Indented);
}

LoadedFile load(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {FileState::Missing, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {FileState::Unreadable, {}};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {FileState::Unreadable, {}};
    // An empty file holds nothing worth keeping.
    if (bytes.trimmed().isEmpty())
        return {FileState::Missing, {}};
    std::optional<SettingsSections> sections = parse(bytes);
    if (!sections)
        return {FileState::Corrupt, {}};
    return {FileState::Parsed, *sections};
}

// Keeps a file that could not be parsed under the first free ".bad" name.
bool moveAside(const QString& path) {
    QString target = path + QLatin1String(".bad");
    for (int number = 2; QFileInfo::exists(target); ++number)
        target = path + QLatin1String(".bad") + QString::number(number);
    return QFile::rename(path, target);
}

bool writeAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

FileSettingsStore::FileSettingsStore(const QString& path) : m_path(path) {}

QString FileSettingsStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/Quenvarel/ProbeTerm/settings.json");
}

bool FileSettingsStore::update(const std::function<bool(SettingsSections&)>& change) {
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QLockFile lock(m_path + QLatin1String(".lock"));
    if (!lock.tryLock(LockWaitMs))
        return false;
    LoadedFile file = load(m_path);
    if (file.State == FileState::Unreadable)
        return false;
    if (!change(file.Sections))
        return false;
    if (file.State == FileState::Corrupt && !moveAside(m_path))
        return false;
    return writeAtomically(m_path, serialize(file.Sections));
}

bool FileSettingsStore::Save(const QString& application, const QString& section, const QString& key,
                             const QString& value) {
    return update([&](SettingsSections& sections) {
        sections.Save(application, section, key, value);
        return true;
    });
}

ISettingsStore::Entries FileSettingsStore::GetAll(const QString& application,
                                                  const QString& section) const {
    // Files are replaced whole by a rename, so reading needs no lock.
    return load(m_path).Sections.GetAll(application, section);
}

bool FileSettingsStore::Delete(const QString& application, const QString& section,
                               const QString& key) {
    return update(
        [&](SettingsSections& sections) { return sections.Delete(application, section, key); });
}
