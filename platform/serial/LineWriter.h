#pragma once

#include "platform/SerialPort.h"

#include <QByteArray>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class ITermiosDevice;

// Makes a serial port's writes on a thread of its own, one after another in
// the order they were asked: a break held for its length, the marking after
// it, the bytes, and the wait until they have left the port. The thread that
// asks never waits on the line, and a busy window cannot stretch a break.
class LineWriter {
public:
    struct Done {
        quint64 Tag = 0;
        QByteArray Sent; // what went out
        int Error = 0;   // errno when the device failed on the way
    };
    // Called on the writer's thread after each write.
    using Report = std::function<void(const Done&)>;

    // microsecondsPerByte: one character's time on the line, which bounds
    // the wait for written bytes to leave.
    LineWriter(ITermiosDevice& device, int fd, int microsecondsPerByte, Report report);
    // Drops the writes that still wait, ends a break in progress and waits
    // for the thread.
    ~LineWriter();
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    void queue(const LineWrite& write);
    void queueBreakState(bool on);

private:
    using Clock = std::chrono::steady_clock;
    struct Job {
        enum class Kind { Write, BreakOn, BreakOff };
        Kind What = Kind::Write;
        LineWrite Write;
    };

    void run();
    void perform(const Job& job);
    // Waits until the deadline; false when the writer is stopping.
    bool waitUntil(Clock::time_point deadline);
    // Writes every byte; returns errno when the device failed, else 0.
    int writeAll(const QByteArray& bytes, QByteArray& sent);
    void waitUntilSent(qsizetype byteCount);
    bool stopping() const { return m_stopping.load(std::memory_order_relaxed); }

    ITermiosDevice& m_device;
    const int m_fd;
    const int m_microsecondsPerByte;
    const Report m_report;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Job> m_jobs;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};
