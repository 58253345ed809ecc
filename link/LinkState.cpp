#include "link/LinkState.h"

LinkState::Kind LinkState::KindOf(bool isOpen, bool reopening) {
    if (isOpen)
        return Kind::Open;
    return reopening ? Kind::Lost : Kind::Closed;
}

QString LinkState::Text(Kind kind, const QString& portName, const QString& lineSettings) {
    switch (kind) {
    case Kind::Open:
        return QStringLiteral("\u25CF %1 %2").arg(portName.trimmed(), lineSettings.trimmed());
    case Kind::Lost:
        return QStringLiteral("lost \u2014 reopening");
    case Kind::Closed:
        break;
    }
    return QStringLiteral("closed");
}
