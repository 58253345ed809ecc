#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// When a sent command is to be repeated, and how the countdown box moves.
namespace Repetition {

// The repeat timer's interval after a send, in whole milliseconds, or
// nothing when no repetition is asked for: the count or the delay is 0 or
// below, or the delay rounds to 0 ms (a timer of 0 ms would never tick).
// An empty box counts as 0.
std::optional<qint32> ArmInterval(const QString& countText, const QString& delayText);

// The countdown box's text after one repeat: its number less one.
QString CountedDown(const QString& countText);

// Whether the countdown box now reads exactly 0, which ends the repetition.
bool CountdownEnded(const QString& countText);

} // namespace Repetition
