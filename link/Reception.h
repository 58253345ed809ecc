#pragma once

#include "link/Exchange.h"

#include <QtGlobal>

// The reception tick's decisions. An SDI-12 answer ends with CR LF and a
// sensor never pauses inside it, so a pause seen here comes from the machine
// or the adaptor and must not split it: the waiting text completes at the
// first quiet tick (the count did not grow since the tick before) at which it
// ends in CR LF. Text without a line end (another kind of device, a wrong
// speed, noise) completes after QuietLimitMs without a new byte, so nothing
// waits for ever. A command with no answer at all times out once the
// response time-out has passed since it was written.
//
// Times are monotonic: seconds for the pending command, 64-bit milliseconds
// for round trips, gaps and quiet, so neither local midnight nor a counter
// wrap can stall or falsify them.
struct ReceptionState {
    double SendTime = 0;              // seconds; 0 = nothing pending
    ExchangeId Exchange = NoExchange; // the exchange in flight, if any
    qint64 LastInCount = 0;           // bytes waiting at the previous tick
    qint64 LastGrowthTick = 0;        // tick at which the count last grew
    qint64 RoundTripStart = 0;        // tick of the operator's send; 0 = none yet
    qint64 LastLogTick = 0;           // tick of the previous completion; 0 = none yet
    // The pending command's own time-out in seconds (a sender may wait less
    // for the first byte); 0: the usual one.
    double ExchangeTimeout = 0;

    bool InFlight() const { return Exchange != NoExchange; }
};

enum class TickOutcome {
    Idle,      // nothing waiting, nothing pending (or still within the time-out)
    Receiving, // bytes still arriving, or waiting for their line end
    TimedOut,  // the pending command got no answer in time
    Completed, // the first Bytes waiting bytes form a complete answer
};

struct TickInput {
    qint64 WaitingCount = 0;
    bool WaitingEndsWithLineEnd = false; // the waiting bytes end in CR LF
    double NowSeconds = 0;
    qint64 NowTick = 0;
    bool WakeUpInUse = false; // wake-up characters allow a slower sensor
};

struct TickResult {
    TickOutcome Outcome = TickOutcome::Idle;
    // On TimedOut and Completed: the exchange this ends; NoExchange when
    // the bytes came with no command in flight.
    ExchangeId Exchange = NoExchange;
    // On Completed: how many of the waiting bytes the answer takes, the
    // round trip and the gap since the previous completion.
    qint64 Bytes = 0;
    qint64 RoundTripMs = 0;
    qint64 GapMs = 0;
};

namespace Reception {

constexpr double ResponseTimeout = 0.1;
constexpr double WakeUpResponseTimeout = 3.0;
constexpr qint64 QuietLimitMs = 100;
// A flood that never pauses is taken in pieces of this size, so that one
// completion never costs more than a bounded amount of work.
constexpr qint64 MaxAnswerBytes = 64 * 1024;

// Starts an exchange: the command went on the line at nowSeconds. A
// responseTimeout above 0 replaces the usual time-out for this command.
void Start(ReceptionState& state, ExchangeId exchange, double nowSeconds,
           double responseTimeout = 0);
// Forgets what was pending and what was counted: the port was reopened, so
// neither the exchange in flight nor a count from before can complete.
// Returns the exchange that was in flight.
ExchangeId Restart(ReceptionState& state);

// Decides one tick and updates the state.
TickResult Tick(ReceptionState& state, const TickInput& input);
// Completes whatever is waiting at once, as a new command is about to go out
// (input.WaitingCount must be above 0).
TickResult CompleteWaiting(ReceptionState& state, const TickInput& input);

// Whether the tick still has something to decide: an exchange in flight or
// bytes waiting. While it has not, the tick need not run.
bool NeedsTicks(const ReceptionState& state, qint64 waitingCount);

} // namespace Reception
