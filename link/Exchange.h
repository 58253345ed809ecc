#pragma once

#include <QtGlobal>

// An exchange is one command put on the line and the one outcome that ends
// it. The link numbers each exchange when it sends the command and reports
// its outcome once, with that number, so that whoever asked for the send
// acts on its own exchange only.
using ExchangeId = quint64;
constexpr ExchangeId NoExchange = 0;

enum class ExchangeOutcome {
    Answered, // the first answer after the command completed
    TimedOut, // nothing came back in time
    // A newer command went out, or the port was closed or reopened, before
    // any answer came: no outcome can be credited to this command.
    Interrupted,
};

// What became of a request to send a command.
struct SendOutcome {
    enum class Kind {
        NothingToSend, // the command text was empty
        Refused,       // the command cannot go on the line (status panel 1 says why)
        PortClosed,    // the port is closed and stays so (status panel 1 has its report)
        // A sequence (a measurement) holds the link for its exchanges;
        // status panel 1 says so. A sender on a timer tries again later.
        Held,
        Sent, // on the line; Exchange names the exchange now in flight
    };
    Kind What = Kind::NothingToSend;
    ExchangeId Exchange = NoExchange;

    bool IsSent() const { return What == Kind::Sent; }
    bool IsNotSent() const {
        return What == Kind::Refused || What == Kind::PortClosed || What == Kind::Held;
    }
};
