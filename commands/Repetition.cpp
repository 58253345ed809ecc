#include "commands/Repetition.h"

#include "platform/Val.h"

std::optional<qint32> Repetition::ArmInterval(const QString& countText, const QString& delayText) {
    const double count = Val::LeadingNumber(countText);
    const double delay = Val::LeadingNumber(delayText);
    if (count <= 0 || delay <= 0)
        return std::nullopt;
    const qint32 interval = Val::RoundToInt32(delay);
    if (interval < 1)
        return std::nullopt;
    return interval;
}

QString Repetition::CountedDown(const QString& countText) {
    return Val::NumberText(Val::LeadingNumber(countText) - 1);
}

bool Repetition::CountdownEnded(const QString& countText) {
    return Val::LeadingNumber(countText) == 0;
}
