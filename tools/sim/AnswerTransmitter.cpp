#include "tools/sim/AnswerTransmitter.h"

#include "tools/sim/PseudoTerminal.h"

#include <algorithm>

#include <unistd.h>

namespace {
const std::string kLineEnd = "\r\n";
}

AnswerTransmitter::AnswerTransmitter(const PseudoTerminal& line, AnswerPacing pacing)
    : line_(line), pacing_(pacing) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { sendDueBytes(); });
}

void AnswerTransmitter::queue(const std::string& answer, Clock::time_point earliestStart) {
    waiting_.push_back(Pending{answer, earliestStart});
    if (!sending_)
        startNext();
}

void AnswerTransmitter::startNext() {
    sending_ = !waiting_.empty();
    if (!sending_)
        return;
    bytes_ = waiting_.front().answer + kLineEnd;
    start_ = std::max(waiting_.front().earliestStart, lineFreeAt_);
    waiting_.pop_front();
    // The user's program may have changed the line settings since the last answer.
    characterTime_ = characterTime(line_.lineSettings());
    nextByte_ = 0;
    scheduleNextByte();
}

AnswerTransmitter::Clock::time_point AnswerTransmitter::dueTime(int index) const {
    return start_ +
           std::chrono::duration_cast<Clock::duration>(pacing_.offset(index, characterTime_));
}

// Bytes are due at fixed times from the answer's start, so a late timer
// catches up instead of stretching the whole answer.
void AnswerTransmitter::sendDueBytes() {
    const auto now = Clock::now();
    const int size = static_cast<int>(bytes_.size());
    while (nextByte_ < size && dueTime(nextByte_) <= now) {
        // A full line buffer means nobody reads the port: the byte is lost,
        // as it would be on a real bus with no listener.
        [[maybe_unused]] const ssize_t written = ::write(line_.master(), &bytes_[nextByte_], 1);
        ++nextByte_;
    }
    if (nextByte_ < size) {
        scheduleNextByte();
        return;
    }
    lineFreeAt_ = dueTime(size - 1) + characterTime_;
    if (onSent)
        onSent(bytes_.substr(0, bytes_.size() - kLineEnd.size()));
    startNext();
}

void AnswerTransmitter::scheduleNextByte() {
    const auto wait = dueTime(nextByte_) - Clock::now();
    // Rounded up: a timer that fires before the byte is due would only spin.
    const auto waitMs = std::chrono::ceil<std::chrono::milliseconds>(wait);
    timer_.start(static_cast<int>(std::max<long long>(0, waitMs.count())));
}
