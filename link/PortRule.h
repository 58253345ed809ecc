#pragma once

#include <QString>
#include <QStringList>

// Which of the system's serial port names the port list offers: a known
// serial prefix (letter case ignored) followed by up to three characters
// that form a number. "COM" stays one of the prefixes, so COM1, com12 and
// COM1234 qualify while COMX, LPT1 and a bare COM do not. A device path
// such as /dev/ttyUSB0 is judged by its last path element.
namespace PortRule {

bool Qualifies(const QString& portName);

// The qualifying names, in the order given, unchanged.
QStringList QualifyingPorts(const QStringList& portNames);

} // namespace PortRule
