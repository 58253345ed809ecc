#pragma once

#include <QtGlobal>

// The reception tick's decisions. A response is whatever the line delivers
// until it falls silent: it is complete at the first tick at which bytes
// are waiting and their number has not grown since the tick before. A
// command with no answer at all times out once the response time-out has
// passed since it was written.
//
// Times are monotonic: seconds for the pending command, 64-bit milliseconds
// for round trips and gaps, so neither local midnight nor a counter wrap
// can stall or falsify them.
struct ReceptionState {
    double SendTime = 0;       // seconds; 0 = nothing pending
    qint64 LastInCount = 0;    // bytes waiting at the previous tick
    qint64 RoundTripStart = 0; // tick of the operator's send; 0 = none yet
    qint64 LastLogTick = 0;    // tick of the previous completion; 0 = none yet
};

enum class TickOutcome {
    Idle,      // nothing waiting, nothing pending (or still within the time-out)
    Receiving, // bytes still arriving
    TimedOut,  // the pending command got no answer in time
    Completed, // the waiting bytes form a complete response
};

struct TickInput {
    qint64 WaitingCount = 0;
    double NowSeconds = 0;
    qint64 NowTick = 0;
    bool WakeUpInUse = false; // wake-up characters allow a slower sensor
};

struct CompletionFigures {
    qint64 RoundTripMs = 0;
    qint64 GapMs = 0;
};

namespace Reception {

constexpr double ResponseTimeout = 0.1;
constexpr double WakeUpResponseTimeout = 3.0;

// Decides one tick and updates the state. On Completed, *figures receives
// the round trip and the gap since the previous completion.
TickOutcome Tick(ReceptionState& state, const TickInput& input, CompletionFigures* figures);

} // namespace Reception
