#include "platform/serial/TermiosDevice.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
// Repeats a call that a signal interrupted.
template <typename Call> auto retryOnInterrupt(Call call) {
    auto result = call();
    while (result == -1 && errno == EINTR)
        result = call();
    return result;
}
} // namespace

int PosixTermiosDevice::openDevice(const QByteArray& path) {
    return retryOnInterrupt(
        [&] { return ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
}

// A pseudo-terminal's slave keeps the exclusive flag after the last close, so
// it is cleared here or the next open by a user other than root finds it
// busy; but only when this program set it, or a failed claim on a port that
// another program holds would take that program's exclusivity away.
int PosixTermiosDevice::closeDevice(int fd) {
    if (fd == m_exclusiveFd) {
        ::ioctl(fd, TIOCNXCL);
        m_exclusiveFd = -1;
    }
    return ::close(fd);
}

// The lock first: a port that another program holds is left as it is.
int PosixTermiosDevice::claimExclusive(int fd) {
    if (retryOnInterrupt([fd] { return ::flock(fd, LOCK_EX | LOCK_NB); }) == -1)
        return -1;
    int alreadyExclusive = 0;
    if (::ioctl(fd, TIOCGEXCL, &alreadyExclusive) == 0 && alreadyExclusive)
        return 0;
    if (::ioctl(fd, TIOCEXCL) == -1)
        return -1;
    m_exclusiveFd = fd;
    return 0;
}

int PosixTermiosDevice::getAttributes(int fd, termios& attributes) {
    return ::tcgetattr(fd, &attributes);
}

int PosixTermiosDevice::setAttributes(int fd, const termios& attributes) {
    return retryOnInterrupt([&] { return ::tcsetattr(fd, TCSANOW, &attributes); });
}

int PosixTermiosDevice::discardInput(int fd) {
    return ::tcflush(fd, TCIFLUSH);
}

int PosixTermiosDevice::askLowLatency(int fd) {
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) == -1)
        return -1;
    serial.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(fd, TIOCSSERIAL, &serial);
}

int PosixTermiosDevice::setModemLines(int fd, int lines, bool on) {
    return ::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &lines);
}

ssize_t PosixTermiosDevice::readSome(int fd, char* buffer, size_t size) {
    return ::read(fd, buffer, size);
}

ssize_t PosixTermiosDevice::writeSome(int fd, const char* bytes, size_t size) {
    return ::write(fd, bytes, size);
}

int PosixTermiosDevice::waitWritable(int fd, int timeoutMs) {
    pollfd watched{fd, POLLOUT, 0};
    return retryOnInterrupt([&] { return ::poll(&watched, 1, timeoutMs); });
}

int PosixTermiosDevice::outputQueued(int fd) {
    int queued = 0;
    return ::ioctl(fd, TIOCOUTQ, &queued) == -1 ? -1 : queued;
}

int PosixTermiosDevice::setBreak(int fd, bool on) {
    return ::ioctl(fd, on ? TIOCSBRK : TIOCCBRK);
}
