#pragma once

#include <QString>
#include <QStringList>

// One-value access to profile files, for callers that want a single key.
// Each call reads (and a write rewrites) the whole file; code that reads
// many keys uses ProfileFile directly and parses the file once.
namespace modINI {

// The file's section names in file order; none when the file does not exist
// or cannot be read.
QStringList ReadSectionNames(const QString& fileName);

// The key's value, or defaultValue when the file, section or key is absent.
QString ReadProfileValue(const QString& fileName, const QString& section, const QString& key,
                         const QString& defaultValue);

// Creates the file, the section and the key as needed. False, with a
// description in *error, when the file could not be read or replaced; the
// old file then stays as it was.
bool WriteProfileValue(const QString& fileName, const QString& section, const QString& key,
                       const QString& value, QString* error = nullptr);

} // namespace modINI
