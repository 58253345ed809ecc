#pragma once

#include <QString>

// A report of the link for the operator. Each kind has its own place, so
// that a report of one kind never hides one of another. A passing report (a
// verdict on one exchange, a refusal) lasts until the next command goes on
// the line; a standing one (a failure that is still true, such as a log
// file that cannot be written or a port that is gone) lasts until a report
// of its kind replaces it or withdraws it with an empty text.
struct LinkReport {
    enum class Kind {
        PortState,   // the port's state or why it failed
        Refusal,     // a command or typed bytes that were not sent, and why
        TimeOut,     // "TIMEOUT"
        ParityError, // "PARITY ERROR"
        LogFailure,  // the log file cannot be written
    };
    Kind What = Kind::PortState;
    QString Text;
    bool Standing = false;

    bool operator==(const LinkReport& other) const {
        return What == other.What && Text == other.Text && Standing == other.Standing;
    }
};
