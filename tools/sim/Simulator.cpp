#include "tools/sim/Simulator.h"

#include "tools/sim/Printable.h"
#include "tools/sim/PseudoTerminal.h"
#include "tools/sim/Reporter.h"

#include <QCoreApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

// SDI-12 gives a sensor up to 15 ms to start its answer after the command.
constexpr std::chrono::milliseconds kTurnaround(10);

AnswerPacing pacingOf(const SimOptions& options) {
    return AnswerPacing{options.pauseAt, std::chrono::milliseconds(options.pauseMs)};
}

} // namespace

Simulator::Simulator(const PseudoTerminal& line, const SimOptions& options,
                     const Reporter& reporter)
    : line_(line), options_(options), reporter_(reporter),
      sensors_(options.addresses, options.badCrc), transmitter_(line, pacingOf(options)),
      notifier_(line.master(), QSocketNotifier::Read) {
    transmitter_.onSent = [this](const std::string& answer) {
        reporter_.line("tx " + printable(answer));
    };
    QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { readLine(); });
}

void Simulator::readLine() {
    char bytes[256];
    const ssize_t count = ::read(line_.master(), bytes, sizeof bytes);
    if (count > 0) {
        for (const ReceivedCommand& command : framer_.feed(bytes, static_cast<std::size_t>(count)))
            handle(command);
        return;
    }
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    // The simulator's own slave descriptor keeps the master readable, so this
    // is a fault of the system; stop rather than spin on a dead descriptor.
    std::fprintf(stderr, "probeterm-sim: reading the line failed: %s\n",
                 count < 0 ? std::strerror(errno) : "end of file");
    notifier_.setEnabled(false);
    QCoreApplication::exit(1);
}

void Simulator::handle(const ReceivedCommand& command) {
    reporter_.line("rx " + printable(command.raw));
    if (command.wakeUps > 0)
        reporter_.line("wake " + std::to_string(command.wakeUps));
    // A sensor that was not woken does not hear the command at all.
    if (options_.silent || command.wakeUps < options_.wakeUps)
        return;
    // Any command a sensor hears aborts the measurement it was taking, and
    // with it the service request it was going to send.
    const char address = command.text.front();
    if (const auto pending = followUps_.find(address); pending != followUps_.end())
        pending->second.timer.stop();
    const Reply reply = sensors_.respond(command.text);
    if (reply.change)
        reporter_.line("set " + reply.change->base + " " + printable(reply.change->value));
    if (reply.answer) {
        const auto start = AnswerTransmitter::Clock::now() + kTurnaround +
                           std::chrono::milliseconds(options_.lateMs);
        transmitter_.queue(*reply.answer, start);
        if (reply.followUp)
            scheduleFollowUp(address, *reply.followUp, start);
    }
}

// The line is queued only when due, so that answers to other sensors in
// the meantime go out first, and so that a later command can still drop it.
void Simulator::scheduleFollowUp(char address, const FollowUp& followUp,
                                 AnswerTransmitter::Clock::time_point answerStart) {
    const auto [entry, created] = followUps_.try_emplace(address);
    PendingLine& pending = entry->second;
    if (created) {
        pending.timer.setSingleShot(true);
        pending.timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&pending.timer, &QTimer::timeout, [this, &pending] {
            transmitter_.queue(pending.line, AnswerTransmitter::Clock::now());
        });
    }
    pending.line = followUp.line;
    const auto wait = answerStart + followUp.delay - AnswerTransmitter::Clock::now();
    pending.timer.start(
        std::max(std::chrono::milliseconds(0), std::chrono::ceil<std::chrono::milliseconds>(wait)));
}
