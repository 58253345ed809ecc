#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The contents of the named section of an ELF file of this machine's class,
// read from the file; nothing when the file is no such ELF file, has no such
// section, or is damaged. Sections above maxSize bytes are refused.
std::optional<QByteArray> ReadElfSection(const QString& path, const QByteArray& sectionName,
                                         qint64 maxSize);
