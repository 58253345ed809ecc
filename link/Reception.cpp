#include "link/Reception.h"

TickOutcome Reception::Tick(ReceptionState& state, const TickInput& input,
                            CompletionFigures* figures) {
    const double timeout = input.WakeUpInUse ? WakeUpResponseTimeout : ResponseTimeout;

    if (input.WaitingCount == 0) {
        const double elapsed = input.NowSeconds - state.SendTime;
        if (elapsed <= timeout || state.SendTime <= 0)
            return TickOutcome::Idle;
        state.SendTime = 0;
        return TickOutcome::TimedOut;
    }

    if (input.WaitingCount > state.LastInCount) {
        state.LastInCount = input.WaitingCount;
        return TickOutcome::Receiving;
    }

    state.SendTime = 0;
    state.LastInCount = 0;
    if (state.RoundTripStart == 0)
        state.RoundTripStart = input.NowTick;
    if (state.LastLogTick == 0)
        state.LastLogTick = input.NowTick;
    if (figures) {
        figures->RoundTripMs = input.NowTick - state.RoundTripStart;
        figures->GapMs = input.NowTick - state.LastLogTick;
    }
    state.LastLogTick = input.NowTick;
    return TickOutcome::Completed;
}
