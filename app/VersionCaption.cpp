#include "app/VersionCaption.h"

#include "version/Version.h"

QString versionCaption() {
    return QStringLiteral("Version %1.%2  Build %3")
        .arg(ProbeTermVersion::Major)
        .arg(ProbeTermVersion::Minor)
        .arg(QLatin1String(ProbeTermVersion::Revision));
}
