#include "platform/ui/DesktopShell.h"

#include <QDesktopServices>
#include <QDir>

void DesktopShell::Open(const QString& target) {
    QDesktopServices::openUrl(TargetUrl(target));
}

QUrl DesktopShell::TargetUrl(const QString& target) {
    if (QDir::isAbsolutePath(target))
        return QUrl::fromLocalFile(target);
    return QUrl::fromUserInput(target);
}
