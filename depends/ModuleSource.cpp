#include "depends/ModuleSource.h"

#include <QFile>

#include <link.h>
#include <unistd.h>

namespace {

struct Enumeration {
    QStringList& List;
    bool FirstObject = true;
};

QString OwnExecutablePath() {
    char buffer[4096];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || size_t(length) >= sizeof buffer)
        return QString();
    return QFile::decodeName(QByteArray(buffer, int(length)));
}

void AddModule(QStringList& list, const QString& path) {
    if (path.isEmpty())
        return;
    if (list.first().isEmpty())
        list.first() = path;
    else
        list.append(path);
}

// The loader reports the main program first and without a name; objects
// that are not files (the kernel's vDSO) carry no absolute path.
int VisitObject(dl_phdr_info* info, size_t, void* data) {
    auto* enumeration = static_cast<Enumeration*>(data);
    const char* name = info->dlpi_name;
    if (enumeration->FirstObject && (name == nullptr || name[0] == '\0'))
        AddModule(enumeration->List, OwnExecutablePath());
    else if (name != nullptr && name[0] == '/')
        AddModule(enumeration->List, QFile::decodeName(name));
    enumeration->FirstObject = false;
    return 0;
}

} // namespace

bool GetProcessModules(QStringList& DependencyList) {
    DependencyList = QStringList{QString()};
    Enumeration enumeration{DependencyList};
    dl_iterate_phdr(VisitObject, &enumeration);
    return true;
}
