#pragma once

#include <QString>

// The state of the link as the status bar shows it at all times.
namespace LinkState {

enum class Kind {
    Open,   // the port is open
    Closed, // closed, or never opened
    Lost,   // the device went away while open; it is reopened once it is back
};

Kind KindOf(bool isOpen, bool reopening);

// "● /dev/ttyUSB0 1200,E,7,1" when open, "closed", or "lost — reopening".
QString Text(Kind kind, const QString& portName, const QString& lineSettings);

} // namespace LinkState
