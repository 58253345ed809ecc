#pragma once

#include "platform/serial/TermiosDevice.h"

#include <QStringList>

#include <algorithm>
#include <cerrno>

// The real device, with a record of what the serial component asked of it:
// the attributes it set and its drain and break requests in order. With a
// writeLimit it takes at most that many bytes per write and reports a full
// driver at every other write, so that queued sending is exercised.
class RecordingTermiosDevice : public PosixTermiosDevice {
public:
    termios lastAttributes{};
    QStringList requests;
    size_t writeLimit = 0;

    int setAttributes(int fd, const termios& attributes) override {
        lastAttributes = attributes;
        return PosixTermiosDevice::setAttributes(fd, attributes);
    }
    ssize_t writeSome(int fd, const char* bytes, size_t size) override {
        if (writeLimit == 0)
            return PosixTermiosDevice::writeSome(fd, bytes, size);
        m_full = !m_full;
        if (!m_full)
            return PosixTermiosDevice::writeSome(fd, bytes, std::min(size, writeLimit));
        errno = EAGAIN;
        return -1;
    }
    int drainOutput(int fd) override {
        requests << QStringLiteral("drain");
        return PosixTermiosDevice::drainOutput(fd);
    }
    int setBreak(int fd, bool on) override {
        requests << (on ? QStringLiteral("break on") : QStringLiteral("break off"));
        return PosixTermiosDevice::setBreak(fd, on);
    }

private:
    bool m_full = false;
};
