#pragma once

#include "platform/serial/TermiosDevice.h"

#include <QStringList>

#include <cerrno>

// The real device, recording its drain and break requests. Every other write
// finds the driver full and the rest take at most 7 bytes, so that queued
// sending is exercised.
class RecordingTermiosDevice : public PosixTermiosDevice {
public:
    QStringList requests;

    ssize_t writeSome(int fd, const char* bytes, size_t size) override {
        if ((m_full = !m_full))
            return errno = EAGAIN, -1;
        return PosixTermiosDevice::writeSome(fd, bytes, qMin<size_t>(size, 7));
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
