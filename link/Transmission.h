#pragma once

#include <QtGlobal>

// What wakes the sensors before a command.
namespace Transmission {

// Wake-up characters (0xFE) take about 8.3 ms each at 1200 baud; a thousand
// already hold the line for over eight seconds, so more are refused rather
// than tying up the bus for minutes.
constexpr qint64 MaxWakeUpCharacters = 1000;
constexpr char WakeUpCharacter = char(0xFE);

struct WakeUp {
    bool UseBreak = true; // no wake-up characters: an SDI-12 break
    qint64 Count = 0;     // wake-up characters to send otherwise
    bool TooMany() const { return Count > MaxWakeUpCharacters; }
};

// From the wake-up box's leading number: 0 or less selects the break; any
// other rounds (halves to even) to the count of wake-up characters.
WakeUp WakeUpFor(double requested);

} // namespace Transmission
