#include "platform/FileSettingsStore.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QStandardPaths>
#include <optional>

// The file holds {"sections": [{"application": A, "section": S,
// "entries": [[key, value], ...]}, ...]}: arrays keep the listing order,
// which JSON objects would not.
namespace {

// The store is written from the window's thread, so a lock that another
// program holds is waited on only briefly; the caller tries again later.
constexpr int LockWaitMs = 100;
// A save holds the lock for milliseconds, so a lock this old was left by a
// program that died holding it: one whose file is still empty, when it died
// before writing itself in. QLockFile also takes over at once a lock whose
// owner process is gone, and never one that a live owner still holds (it
// keeps the file locked), however old.
constexpr int StaleLockMs = 2000;

enum class FileState { Missing, Parsed, Corrupt, Unreadable };

struct LoadedFile {
    FileState State;
    SettingsSections Sections;
    QString Error = QString(); // why an Unreadable file could not be read
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
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {FileState::Unreadable, {}, file.errorString()};
    // An empty file holds nothing worth keeping.
    if (bytes.trimmed().isEmpty())
        return {FileState::Missing, {}};
    std::optional<SettingsSections> sections = parse(bytes);
    if (!sections)
        return {FileState::Corrupt, {}};
    return {FileState::Parsed, *sections};
}

// Keeps a file that could not be parsed under the first free ".bad" name.
bool moveAside(const QString& path, QString* reason) {
    QString target = path + QLatin1String(".bad");
    for (int number = 2; QFileInfo::exists(target); ++number)
        target = path + QLatin1String(".bad") + QString::number(number);
    QFile file(path);
    if (file.rename(target))
        return true;
    *reason = file.errorString();
    return false;
}

QString describeFailure(const QString& action, const QString& path, const QString& reason) {
    return QStringLiteral("Could not %1 \"%2\": %3.")
        .arg(action, QDir::toNativeSeparators(path), reason);
}

QString lockFailureReason(QLockFile::LockError error) {
    switch (error) {
    case QLockFile::LockFailedError:
        return QStringLiteral("another program holds its lock");
    case QLockFile::PermissionError:
        return QStringLiteral("its lock file may not be created here");
    case QLockFile::NoError:
    case QLockFile::UnknownError:
        break;
    }
    return QStringLiteral("its lock file could not be created (is the disk full?)");
}

} // namespace

FileSettingsStore::FileSettingsStore(const QString& path) : m_path(path) {}

QString FileSettingsStore::DefaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1String("/Quenvarel/ProbeTerm/settings.json");
}

bool FileSettingsStore::update(const std::function<bool(SettingsSections&)>& change) {
    m_error.clear();
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!QDir().mkpath(folder)) {
        m_error = QStringLiteral("Could not create the folder \"%1\".")
                      .arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QLockFile lock(m_path + QLatin1String(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs)) {
        m_error = describeFailure(QStringLiteral("write"), m_path, lockFailureReason(lock.error()));
        return false;
    }
    LoadedFile file = load(m_path);
    if (file.State == FileState::Unreadable) {
        m_error = describeFailure(QStringLiteral("read"), m_path, file.Error);
        return false;
    }
    if (!change(file.Sections))
        return false;
    QString reason;
    if (file.State == FileState::Corrupt && !moveAside(m_path, &reason)) {
        m_error = describeFailure(QStringLiteral("move aside the unreadable"), m_path, reason);
        return false;
    }
    if (!AtomicFile::Replace(m_path, serialize(file.Sections), &reason)) {
        m_error = describeFailure(QStringLiteral("write"), m_path, reason);
        return false;
    }
    return true;
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
