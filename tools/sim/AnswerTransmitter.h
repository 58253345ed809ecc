#pragma once

#include "tools/sim/LineTiming.h"

#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>
#include <string>

class PseudoTerminal;

// Sends answers onto the line at the pace of a real sensor: one character per
// character time of the line's present settings, each answer followed by
// CR LF. Answers that come while one is going out wait their turn.
class AnswerTransmitter {
public:
    using Clock = std::chrono::steady_clock;

    AnswerTransmitter(const PseudoTerminal& line, AnswerPacing pacing);

    // Sends `answer` no earlier than `earliestStart`.
    void queue(const std::string& answer, Clock::time_point earliestStart);

    // Called with each answer (without CR LF) once its last byte is out.
    std::function<void(const std::string& answer)> onSent;

private:
    struct Pending {
        std::string answer;
        Clock::time_point earliestStart;
    };

    void startNext();
    void sendDueBytes();
    Clock::time_point dueTime(int index) const;
    void scheduleNextByte();

    const PseudoTerminal& line_;
    AnswerPacing pacing_;
    QTimer timer_;
    std::deque<Pending> waiting_;
    // The answer on its way out.
    bool sending_ = false;
    std::string bytes_; // the answer and its CR LF
    int nextByte_ = 0;
    Clock::time_point start_;
    std::chrono::nanoseconds characterTime_{0};
    Clock::time_point lineFreeAt_;
};
