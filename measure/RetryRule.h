#pragma once

#include "link/Exchange.h"

#include <optional>

// How a command that gets no valid answer is tried again, as SDI-12 data
// recorders do it: the first try goes with the break; the next two of its
// round go without one, each waiting only the first-byte time-out, so they
// come more than 100 ms after the break and within the time a sensor stays
// awake; then the round starts again with a break, up to three rounds. A
// CRC failure on a data command is asked again at once, without a break, up
// to three times: the sensor keeps its data until the next measurement.
//
// Off, a command has one try and waits the usual time-out, as the terminal's
// own sends do.
struct RetrySettings {
    static constexpr int DefaultFirstByteTimeoutMs = 60;
    static constexpr int LeastFirstByteTimeoutMs = 20;
    static constexpr int MostFirstByteTimeoutMs = 1000;

    bool Enabled = false;
    // How long a try waits for the answer's first byte: a sensor starts
    // within 15 ms, and USB adaptors hold bytes up to 16 ms more.
    int FirstByteTimeoutMs = DefaultFirstByteTimeoutMs;
};

// The tries of one command. Each try's failure is handed in; the rule says
// how the next try goes, or that there is none.
class RetryRule {
public:
    static constexpr int TriesPerRound = 3;
    static constexpr int Rounds = 3;
    static constexpr int CrcRequests = 3;

    enum class Failure {
        NoAnswer,
        // The wrong form or address, line errors, a collision: someone is
        // there but the answer cannot be used.
        Invalid,
        CrcFailed, // a data answer whose CRC does not match
    };

    // silentRounds: the rounds given to a command that hears nothing at all
    // (a scan gives up on an empty address after one); a command that hears
    // anything invalid goes on to the full three rounds.
    explicit RetryRule(const RetrySettings& settings = {}, int silentRounds = Rounds);

    // How the first try goes.
    SendOptions firstTry() const;
    // How the first try goes to a sensor that has just answered: it is
    // still awake, and the command follows its answer well within the 87 ms
    // that SDI-12 gives, so it needs no break. Off, it has one all the same,
    // as the terminal sends.
    SendOptions firstTryWhileAwake() const;
    // The next try after `failure`, or nothing: the command failed.
    std::optional<SendOptions> nextTry(Failure failure);
    // Tries beyond the first so far.
    int retries() const { return m_retries; }
    // Something other than silence came back in some try.
    bool heardSomething() const { return m_heardSomething; }

private:
    SendOptions withoutBreak() const;

    RetrySettings m_settings;
    int m_silentRounds;
    int m_round = 1;
    int m_tryInRound = 1;
    int m_crcRequests = 0;
    int m_retries = 0;
    bool m_heardSomething = false;
};
