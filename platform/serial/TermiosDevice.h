#pragma once

#include <QByteArray>

#include <sys/types.h>
#include <termios.h>

// The system calls the serial component makes on its device, behind an
// interface so that a test can see what was asked of the device (a
// pseudo-terminal ignores data bits, parity and break). Every call returns what
// its system call returns: -1 with errno set on failure. The port's writer
// thread makes the calls that write (writeSome, waitWritable, outputQueued,
// setBreak); the others come from the port's own thread. The real device makes
// a call again when a signal interrupts it, except readSome and writeSome,
// which fail with EINTR like read and write: their callers already loop.
class ITermiosDevice {
public:
    virtual ~ITermiosDevice() = default;

    // Opens read-write, non-blocking, without becoming the controlling terminal.
    virtual int openDevice(const QByteArray& path) = 0;
    // Gives up the exclusive claim this program made, then closes.
    virtual int closeDevice(int fd) = 0;
    // Keeps other programs out: an exclusive flock (which root cannot pass
    // by), then TIOCEXCL. Fails with EWOULDBLOCK when another holder has the
    // lock, and then leaves the device's flags as they were.
    virtual int claimExclusive(int fd) = 0;
    virtual int getAttributes(int fd, termios& attributes) = 0;
    virtual int setAttributes(int fd, const termios& attributes) = 0;
    virtual int discardInput(int fd) = 0;
    // Asks the driver to hand over received bytes at once (USB adaptors).
    virtual int askLowLatency(int fd) = 0;
    // Raises (on) or lowers the given TIOCM_* modem lines.
    virtual int setModemLines(int fd, int lines, bool on) = 0;
    virtual ssize_t readSome(int fd, char* buffer, size_t size) = 0;
    virtual ssize_t writeSome(int fd, const char* bytes, size_t size) = 0;
    // Waits up to timeoutMs for room to write; returns 0 on time-out.
    virtual int waitWritable(int fd, int timeoutMs) = 0;
    // How many written bytes have not yet left the device; -1 when the
    // device cannot tell.
    virtual int outputQueued(int fd) = 0;
    virtual int setBreak(int fd, bool on) = 0;
};

// The real device.
class PosixTermiosDevice : public ITermiosDevice {
public:
    int openDevice(const QByteArray& path) override;
    int closeDevice(int fd) override;
    int claimExclusive(int fd) override;
    int getAttributes(int fd, termios& attributes) override;
    int setAttributes(int fd, const termios& attributes) override;
    int discardInput(int fd) override;
    int askLowLatency(int fd) override;
    int setModemLines(int fd, int lines, bool on) override;
    ssize_t readSome(int fd, char* buffer, size_t size) override;
    ssize_t writeSome(int fd, const char* bytes, size_t size) override;
    int waitWritable(int fd, int timeoutMs) override;
    int outputQueued(int fd) override;
    int setBreak(int fd, bool on) override;

private:
    int m_exclusiveFd = -1; // the descriptor on which this program set TIOCEXCL
};
