#include "tools/sim/Reporter.h"

#include <cstdio>

namespace {

void writeLine(const std::string& text) {
    std::fputs(text.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace

void Reporter::devicePath(const std::string& path) const {
    writeLine(path);
}

void Reporter::line(const std::string& text) const {
    if (!quiet_)
        writeLine(text);
}
