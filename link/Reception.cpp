#include "link/Reception.h"

#include <algorithm>

namespace {

TickResult completeNow(ReceptionState& state, const TickInput& input) {
    TickResult result;
    result.Outcome = TickOutcome::Completed;
    result.Exchange = state.Exchange;
    result.Bytes = std::min(input.WaitingCount, Reception::MaxAnswerBytes);
    state.SendTime = 0;
    state.Exchange = NoExchange;
    state.ExchangeTimeout = 0;
    state.LastInCount = 0;
    if (state.RoundTripStart == 0)
        state.RoundTripStart = input.NowTick;
    if (state.LastLogTick == 0)
        state.LastLogTick = input.NowTick;
    result.RoundTripMs = input.NowTick - state.RoundTripStart;
    result.GapMs = input.NowTick - state.LastLogTick;
    state.LastLogTick = input.NowTick;
    return result;
}

} // namespace

void Reception::Start(ReceptionState& state, ExchangeId exchange, double nowSeconds,
                      double responseTimeout) {
    state.Exchange = exchange;
    state.SendTime = nowSeconds;
    state.ExchangeTimeout = responseTimeout;
}

ExchangeId Reception::Restart(ReceptionState& state) {
    const ExchangeId interrupted = state.Exchange;
    state.Exchange = NoExchange;
    state.SendTime = 0;
    state.ExchangeTimeout = 0;
    state.LastInCount = 0;
    return interrupted;
}

TickResult Reception::Tick(ReceptionState& state, const TickInput& input) {
    const double usualTimeout = input.WakeUpInUse ? WakeUpResponseTimeout : ResponseTimeout;
    const double timeout = state.ExchangeTimeout > 0 ? state.ExchangeTimeout : usualTimeout;

    if (input.WaitingCount == 0) {
        state.LastInCount = 0;
        const double elapsed = input.NowSeconds - state.SendTime;
        if (elapsed <= timeout || state.SendTime <= 0)
            return {};
        TickResult result;
        result.Outcome = TickOutcome::TimedOut;
        result.Exchange = state.Exchange;
        state.SendTime = 0;
        state.Exchange = NoExchange;
        state.ExchangeTimeout = 0;
        return result;
    }

    if (input.WaitingCount >= MaxAnswerBytes)
        return completeNow(state, input);

    if (input.WaitingCount > state.LastInCount) {
        state.LastInCount = input.WaitingCount;
        state.LastGrowthTick = input.NowTick;
        TickResult result;
        result.Outcome = TickOutcome::Receiving;
        return result;
    }

    const bool quietTooLong = input.NowTick - state.LastGrowthTick >= QuietLimitMs;
    if (input.WaitingEndsWithLineEnd || quietTooLong)
        return completeNow(state, input);
    TickResult result;
    result.Outcome = TickOutcome::Receiving;
    return result;
}

TickResult Reception::CompleteWaiting(ReceptionState& state, const TickInput& input) {
    return completeNow(state, input);
}

bool Reception::NeedsTicks(const ReceptionState& state, qint64 waitingCount) {
    return state.InFlight() || state.SendTime > 0 || waitingCount > 0;
}
