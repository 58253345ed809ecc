#include "link/PortRule.h"

#include "platform/Val.h"

#include <QLocale>

namespace {

// Longer prefixes first, so that ttyUSB is not mistaken for ttyS.
const char* const SerialPrefixes[] = {"ttyUSB", "ttyACM", "ttyAMA", "rfcomm", "ttyS", "COM"};

} // namespace

bool PortRule::Qualifies(const QString& portName) {
    const QString name = portName.mid(portName.lastIndexOf(QLatin1Char('/')) + 1);
    for (const char* prefix : SerialPrefixes) {
        const QLatin1String serialPrefix(prefix);
        if (!name.startsWith(serialPrefix, Qt::CaseInsensitive))
            continue;
        const QString number = name.mid(serialPrefix.size(), 3);
        return Val::IsNumeric(number, QLocale::c());
    }
    return false;
}

QStringList PortRule::QualifyingPorts(const QStringList& portNames) {
    QStringList ports;
    for (const QString& name : portNames) {
        if (Qualifies(name))
            ports.append(name);
    }
    return ports;
}
