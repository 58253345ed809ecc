#pragma once

#include <QHash>
#include <QString>

#include <optional>

// The program's own version record. It is built into the executable as an
// ELF section of "name", NUL, "text", NUL pairs (UTF-8), so that the
// dependencies window reads the program's strings back from its file just as
// it reads any other module's.
namespace OwnVersionRecord {

constexpr const char* CompanyName = "Quenvarel Instruments";
constexpr const char* ProductName = "Quenvarel Tidewright";
constexpr const char* FileDescription = "Quenvarel Tidewright SDI-12 sensor terminal";
constexpr const char* LegalCopyright = "Copyright \u00a9 2026 Quenvarel Instruments";

// The record carried by the file at path, name to text; nothing when the
// file carries none.
std::optional<QHash<QString, QString>> Read(const QString& path);

} // namespace OwnVersionRecord
