#include "tools/sim/Simulator.h"

#include "tools/sim/Printable.h"
#include "tools/sim/PseudoTerminal.h"
#include "tools/sim/Reporter.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include <unistd.h>

namespace {

// SDI-12 gives a sensor up to 15 ms to start its answer after the command.
constexpr std::chrono::milliseconds kTurnaround(10);

AnswerPacing pacingOf(const SimOptions& options) {
    return AnswerPacing{options.pauseAt, std::chrono::milliseconds(options.pauseMs)};
}

BusSettings busOf(const SimOptions& options) {
    return BusSettings{options.badCrc, TimeScale(options.timeScale)};
}

} // namespace

Simulator::Simulator(const PseudoTerminal& line, const SimOptions& options,
                     const Reporter& reporter)
    : m_line(line), m_options(options), m_reporter(reporter),
      m_sensors(options.addresses, busOf(options)),
      m_noise(options.dropChance, options.garbleChance,
              options.seed.value_or(std::random_device()())),
      m_answerDelay(std::chrono::duration_cast<AnswerTransmitter::Clock::duration>(
          TimeScale(options.timeScale)
              .shorten(kTurnaround + std::chrono::milliseconds(options.lateMs)))),
      m_transmitter(line, pacingOf(options)), m_notifier(line.master(), QSocketNotifier::Read) {
    m_transmitter.onSent = [this](const std::string& answer) {
        m_reporter.line("tx " + printable(answer));
    };
    QObject::connect(&m_notifier, &QSocketNotifier::activated, [this] { readLine(); });
}

void Simulator::readLine() {
    char bytes[256];
    const ssize_t count = ::read(m_line.master(), bytes, sizeof bytes);
    if (count > 0) {
        for (const ReceivedCommand& command : m_framer.feed(bytes, static_cast<std::size_t>(count)))
            handle(command);
        return;
    }
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    // The simulator's own slave descriptor keeps the master readable, so this
    // is a fault of the system; stop rather than spin on a dead descriptor.
    std::fprintf(stderr, "probeterm-sim: reading the line failed: %s\n",
                 count < 0 ? std::strerror(errno) : "end of file");
    m_notifier.setEnabled(false);
    QCoreApplication::exit(1);
}

void Simulator::handle(const ReceivedCommand& command) {
    m_reporter.line("rx " + printable(command.raw));
    if (command.wakeUps > 0)
        m_reporter.line("wake " + std::to_string(command.wakeUps));
    // A sensor that was not woken does not hear the command at all.
    if (m_options.silent || command.wakeUps < m_options.wakeUps)
        return;
    const auto now = AnswerTransmitter::Clock::now();
    const char address = command.text.front();
    stopMeasurements(address);
    const Reply reply = m_sensors.respond(command.text, now);
    if (reply.change)
        m_reporter.line("set " + reply.change->base + " " + printable(reply.change->value));
    if (!reply.answer)
        return;
    const auto start = now + m_answerDelay;
    if (const std::optional<std::string> passed = m_noise.pass(*reply.answer))
        m_transmitter.queue(*passed, start);
    else
        m_reporter.line("lost " + printable(*reply.answer));
    // The sensor measures on, whatever became of its answer on the line.
    if (reply.followUp)
        scheduleFollowUp(address, *reply.followUp, start);
}

// Any command a sensor hears aborts the measurement it was taking, and with
// it the service request it was going to send; "?" speaks to every sensor.
void Simulator::stopMeasurements(char address) {
    for (auto& [sender, pending] : m_followUps) {
        if (address == '?' || address == sender)
            pending.timer.stop();
    }
}

// The line is queued only when due, so that answers to other sensors in
// the meantime go out first, and so that a later command can still drop it.
void Simulator::scheduleFollowUp(char address, const FollowUp& followUp,
                                 AnswerTransmitter::Clock::time_point answerStart) {
    const auto [entry, created] = m_followUps.try_emplace(address);
    PendingLine& pending = entry->second;
    if (created) {
        pending.timer.setSingleShot(true);
        pending.timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&pending.timer, &QTimer::timeout, [this, &pending] {
            m_transmitter.queue(pending.line, AnswerTransmitter::Clock::now());
        });
    }
    pending.line = followUp.line;
    const auto wait = answerStart + followUp.delay - AnswerTransmitter::Clock::now();
    pending.timer.start(
        std::max(std::chrono::milliseconds(0), std::chrono::ceil<std::chrono::milliseconds>(wait)));
}
