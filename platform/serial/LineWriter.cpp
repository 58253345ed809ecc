#include "platform/serial/LineWriter.h"

#include "platform/serial/TermiosDevice.h"

#include <cerrno>
#include <pthread.h>
#include <sched.h>

namespace {

// A wait ends by spinning for its last stretch: a thread woken from sleep
// may come back late by this much, and a break must not grow.
constexpr auto SpinBeforeDeadline = std::chrono::microseconds(500);
constexpr int WritableWaitMs = 10;
// Beyond the bytes' own time on the line, how long they may take to leave.
constexpr auto SendingSlack = std::chrono::milliseconds(100);

// The writer sleeps nearly all the time; where the system allows it, it
// wakes ahead of busy programs so that breaks keep their length under load.
void askForPromptWakeUps() {
    sched_param parameters{};
    parameters.sched_priority = sched_get_priority_min(SCHED_FIFO);
    pthread_setschedparam(pthread_self(), SCHED_FIFO, &parameters);
}

} // namespace

LineWriter::LineWriter(ITermiosDevice& device, int fd, int microsecondsPerByte, Report report)
    : m_device(device), m_fd(fd), m_microsecondsPerByte(microsecondsPerByte),
      m_report(std::move(report)), m_thread([this] { run(); }) {}

LineWriter::~LineWriter() {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    m_thread.join();
}

void LineWriter::queue(const LineWrite& write) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back({Job::Kind::Write, write});
    }
    m_wake.notify_all();
}

void LineWriter::queueBreakState(bool on) {
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back({on ? Job::Kind::BreakOn : Job::Kind::BreakOff, {}});
    }
    m_wake.notify_all();
}

void LineWriter::run() {
    askForPromptWakeUps();
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [this] { return stopping() || !m_jobs.empty(); });
            if (stopping())
                return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        perform(job);
    }
}

void LineWriter::perform(const Job& job) {
    if (job.What != Job::Kind::Write) {
        m_device.setBreak(m_fd, job.What == Job::Kind::BreakOn);
        return;
    }
    const LineWrite& write = job.Write;
    if (write.BreakMs > 0) {
        const Clock::time_point breakStart = Clock::now();
        m_device.setBreak(m_fd, true);
        const bool held = waitUntil(breakStart + std::chrono::milliseconds(write.BreakMs));
        const Clock::time_point breakEnd = Clock::now();
        m_device.setBreak(m_fd, false);
        if (!held || !waitUntil(breakEnd + std::chrono::milliseconds(write.MarkMs)))
            return; // stopping: the write is dropped with the port
    }
    Done done;
    done.Tag = write.Tag;
    done.Error = writeAll(write.Bytes, done.Sent);
    if (stopping())
        return;
    if (done.Error == 0)
        waitUntilSent(write.Bytes.size());
    m_report(done);
}

bool LineWriter::waitUntil(Clock::time_point deadline) {
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait_until(lock, deadline - SpinBeforeDeadline, [this] { return stopping(); });
    }
    while (Clock::now() < deadline) {
        if (stopping())
            return false;
    }
    return !stopping();
}

int LineWriter::writeAll(const QByteArray& bytes, QByteArray& sent) {
    qsizetype at = 0;
    while (at < bytes.size() && !stopping()) {
        const ssize_t written =
            m_device.writeSome(m_fd, bytes.constData() + at, size_t(bytes.size() - at));
        if (written > 0) {
            sent.append(bytes.constData() + at, written);
            at += written;
        } else if (written == -1 && errno == EAGAIN) {
            m_device.waitWritable(m_fd, WritableWaitMs);
        } else if (!(written == -1 && errno == EINTR)) {
            return written == -1 ? errno : EIO;
        }
    }
    return 0;
}

// The bytes are in the driver; the write is done once they have left it,
// so that whoever times an answer counts from the command's last character.
void LineWriter::waitUntilSent(qsizetype byteCount) {
    const Clock::time_point deadline =
        Clock::now() + std::chrono::microseconds(qint64(byteCount) * m_microsecondsPerByte * 2) +
        SendingSlack;
    while (m_device.outputQueued(m_fd) > 0 && Clock::now() < deadline && !stopping()) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_wake.wait_for(lock, std::chrono::milliseconds(1), [this] { return stopping(); });
    }
}
