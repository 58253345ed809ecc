#pragma once

#include <chrono>

#include <termios.h>

// Baud rate of a termios speed code; 0 for B0 or a code we do not know.
int baudRate(speed_t speed);

// Time one character takes on the line: start bit, data bits, parity bit if
// any, stop bits, at the output speed. A line without a known speed is taken
// to run at SDI-12's 1200 baud.
std::chrono::nanoseconds characterTime(const termios& settings);

// When the byte at `index` of an answer goes out, counted from the answer's
// start: one byte per character time, with an optional pause after the
// first `pauseAt` bytes (0: none).
struct AnswerPacing {
    int pauseAt = 0;
    std::chrono::nanoseconds pause{0};

    std::chrono::nanoseconds offset(int index, std::chrono::nanoseconds characterTime) const;
};
