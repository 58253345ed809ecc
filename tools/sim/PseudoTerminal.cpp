#include "tools/sim/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string failure(const char* step) {
    return std::string(step) + ": " + std::strerror(errno);
}

} // namespace

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

bool PseudoTerminal::open(std::string& error) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        error = failure("posix_openpt");
        return false;
    }
    char path[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, path, sizeof path) != 0) {
        error = failure("pseudo-terminal set-up");
        return false;
    }
    devicePath_ = path;
    slave_ = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = failure(path);
        return false;
    }
    termios settings{};
    if (::tcgetattr(slave_, &settings) != 0) {
        error = failure("tcgetattr");
        return false;
    }
    ::cfmakeraw(&settings);
    ::cfsetspeed(&settings, B1200);
    if (::tcsetattr(slave_, TCSANOW, &settings) != 0) {
        error = failure("tcsetattr");
        return false;
    }
    const int flags = ::fcntl(master_, F_GETFL);
    if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = failure("fcntl");
        return false;
    }
    return true;
}

termios PseudoTerminal::lineSettings() const {
    termios settings{};
    if (::tcgetattr(slave_, &settings) != 0)
        ::cfsetospeed(&settings, B0); // read as "speed unknown"
    return settings;
}
