#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// How a command goes on the wire: what wakes the sensors first, and the
// command's characters as bytes.
namespace Transmission {

// Wake-up characters (0xFE) take about 8.3 ms each at 1200 baud; a thousand
// already hold the line for over eight seconds, so more are refused rather
// than freezing the bus (and the program) for minutes.
constexpr qint64 MaxWakeUpCharacters = 1000;
constexpr char WakeUpCharacter = char(0xFE);

struct WakeUp {
    bool UseBreak = true; // no wake-up characters: an SDI-12 break
    qint64 Count = 0;     // wake-up characters to send otherwise
    bool TooMany() const { return Count > MaxWakeUpCharacters; }
};

// From the wake-up box: a leading number of 0 or less selects the break;
// any other rounds (halves to even) to the count of wake-up characters.
WakeUp WakeUpFor(const QString& wakeUpText);

// The text's characters as bytes, one each; nothing when a character lies
// outside codes 0-255 and so cannot go on the line unchanged.
std::optional<QByteArray> ToWire(const QString& text);

} // namespace Transmission
