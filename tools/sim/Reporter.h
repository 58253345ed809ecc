#pragma once

#include <string>

// The simulator's report on stdout, one flushed line at a time so that a
// test reading the pipe sees each line as soon as it happens. The device
// path always comes first; --quiet leaves out everything after it.
class Reporter {
public:
    explicit Reporter(bool quiet) : quiet_(quiet) {}

    void devicePath(const std::string& path) const;
    // The other lines: "rx ...", "wake n", "set base value", "tx ...",
    // "lost ...".
    void line(const std::string& text) const;

private:
    bool quiet_;
};
