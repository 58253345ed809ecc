#include "sheet/modINI.h"

#include "platform/ProfileFile.h"

QStringList modINI::ReadSectionNames(const QString& fileName) {
    return ProfileFile::Load(fileName).SectionNames();
}

QString modINI::ReadProfileValue(const QString& fileName, const QString& section,
                                 const QString& key, const QString& defaultValue) {
    return ProfileFile::Load(fileName).Value(section, key, defaultValue);
}

bool modINI::WriteProfileValue(const QString& fileName, const QString& section, const QString& key,
                               const QString& value, QString* error) {
    QString readError;
    ProfileFile profile = ProfileFile::Load(fileName, &readError);
    if (!readError.isEmpty()) {
        // Writing now would replace a file whose content was never seen.
        if (error)
            *error = readError;
        return false;
    }
    profile.SetValue(section, key, value);
    return profile.Save(fileName, error);
}
