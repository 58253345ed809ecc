#pragma once

#include "platform/serial/TermiosDevice.h"

#include <QStringList>

#include <cerrno>

// The real device, recording its drain and break requests. With a writeLimit,
// every other write finds the driver full and the rest take at most writeLimit
// bytes, so that queued sending is exercised.
class RecordingTermiosDevice : public PosixTermiosDevice {
public:
    QStringList requests;
    size_t writeLimit = 0;

    ssize_t writeSome(int fd, const char* bytes, size_t size) override {
        if (writeLimit > 0 && (m_full = !m_full))
            return errno = EAGAIN, -1;
        return PosixTermiosDevice::writeSome(fd, bytes, writeLimit ? qMin(size, writeLimit) : size);
    }
    int drainOutput(int fd) override {
        requests << "drain";
        return PosixTermiosDevice::drainOutput(fd);
    }
    int setBreak(int fd, bool on) override {
        requests << (on ? "break on" : "break off");
        return PosixTermiosDevice::setBreak(fd, on);
    }

private:
    bool m_full = false;
};
