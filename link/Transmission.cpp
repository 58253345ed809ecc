#include "link/Transmission.h"

#include "platform/Val.h"

Transmission::WakeUp Transmission::WakeUpFor(const QString& wakeUpText) {
    const double requested = Val::LeadingNumber(wakeUpText);
    WakeUp wakeUp;
    if (requested > 0) {
        wakeUp.UseBreak = false;
        wakeUp.Count = Val::RoundToInt32(requested);
    }
    return wakeUp;
}

std::optional<QByteArray> Transmission::ToWire(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return std::nullopt;
        bytes.append(char(c.unicode()));
    }
    return bytes;
}
