#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One command as it came off the line.
struct ReceivedCommand {
    std::string text; // 7-bit command text, up to and including "!"
    std::string raw;  // the same bytes as they arrived, parity bit kept
    int wakeUps = 0;  // 0xFE wake-up bytes seen since the previous command
};

// Cuts the byte stream from the line into SDI-12 commands. A pseudo-terminal
// shows neither breaks nor parity, so a command is simply everything since
// the previous "!", read as 7-bit text; wake-up bytes are counted and left
// out, and the CR, LF and NUL noise of an idle line is dropped.
class CommandFramer {
public:
    static constexpr unsigned char kWakeUp = 0xFE;
    // Longer than any real command: a run without "!" this long is noise.
    static constexpr std::size_t kMaxCommandLength = 64;

    // Returns the commands that these bytes complete, in order.
    std::vector<ReceivedCommand> feed(const char* bytes, std::size_t count);

private:
    ReceivedCommand pending_;
};
