#pragma once

#include <string>

#include <termios.h>

// The simulator's end of the line: a pseudo-terminal master whose slave
// device the user's program opens as its serial port. The simulator keeps a
// slave descriptor of its own open for its whole life, so that the user's
// program closing and reopening the port never leaves the master without a
// slave (reads would then fail with EIO).
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens both ends, the master non-blocking, the slave raw at 1200 baud.
    // On failure returns false and says why in `error`.
    bool open(std::string& error);

    int master() const { return master_; }
    const std::string& devicePath() const { return devicePath_; }

    // The line settings as the user's program last set them.
    termios lineSettings() const;

private:
    int master_ = -1;
    int slave_ = -1;
    std::string devicePath_;
};
