#include "platform/ui/DesktopShell.h"

#include <QDesktopServices>
#include <QDir>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace {

// Whether the desktop names a program for documents of the file's type. The
// desktop's opener starts in the background and reports nothing back, so a
// document that nothing opens would otherwise vanish without a word.
bool desktopOpensFile(const QString& path) {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return true; // no way to ask: leave it to the opener
    const QString type = QMimeDatabase().mimeTypeForFile(path).name();
    QProcess xdgMime;
    xdgMime.start(query, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!xdgMime.waitForFinished(2000)) {
        xdgMime.kill();
        return true;
    }
    return !xdgMime.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

bool DesktopShell::Open(const QString& target) {
    const QUrl url = TargetUrl(target);
    if (url.isLocalFile() && !desktopOpensFile(url.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(url);
}

QUrl DesktopShell::TargetUrl(const QString& target) {
    if (QDir::isAbsolutePath(target))
        return QUrl::fromLocalFile(target);
    return QUrl::fromUserInput(target);
}
