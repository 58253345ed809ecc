#include "measure/RetryRule.h"

#include <QtGlobal>

RetryRule::RetryRule(const RetrySettings& settings, int silentRounds)
    : m_settings(settings), m_silentRounds(qBound(1, silentRounds, Rounds)) {}

SendOptions RetryRule::firstTry() const {
    if (!m_settings.Enabled)
        return {};
    return {true, m_settings.FirstByteTimeoutMs};
}

SendOptions RetryRule::firstTryWhileAwake() const {
    return m_settings.Enabled ? withoutBreak() : SendOptions{};
}

SendOptions RetryRule::withoutBreak() const {
    return {false, m_settings.FirstByteTimeoutMs};
}

std::optional<SendOptions> RetryRule::nextTry(Failure failure) {
    if (!m_settings.Enabled)
        return std::nullopt;
    if (failure != Failure::NoAnswer)
        m_heardSomething = true;
    if (failure == Failure::CrcFailed) {
        if (m_crcRequests == CrcRequests)
            return std::nullopt;
        ++m_crcRequests;
        ++m_retries;
        return withoutBreak();
    }
    if (m_tryInRound < TriesPerRound) {
        ++m_tryInRound;
        ++m_retries;
        return withoutBreak();
    }
    if (m_round >= (m_heardSomething ? Rounds : m_silentRounds))
        return std::nullopt;
    ++m_round;
    m_tryInRound = 1;
    ++m_retries;
    return firstTry();
}
