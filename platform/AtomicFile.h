#pragma once

#include <QByteArray>
#include <QString>

namespace AtomicFile {

// Replaces the file at path with bytes, whole or not at all: the bytes go to
// a temporary file beside it, which takes the file's place only once every
// byte has been written and synced. On failure (a full disk, say) the old
// file is left as it was, the temporary file is removed, false is returned
// and *reason holds the system's reason, such as "No space left on device".
bool Replace(const QString& path, const QByteArray& bytes, QString* reason);

} // namespace AtomicFile
