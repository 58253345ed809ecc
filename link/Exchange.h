#pragma once

#include <QString>
#include <QtGlobal>

// An exchange is one command put on the line and the one outcome that ends
// it. The link numbers each exchange when it accepts the command and reports
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

// Who put a command on the line: the operator's press, a timed sender in its
// turn (the repeat, the batch), or a conversation (a measurement, a scan).
enum class SendOrigin { Press, Turn, Conversation };

// A timed sender's place on the line (see ExchangeLink::requestTurn).
using TurnId = quint64;
constexpr TurnId NoTurn = 0;

enum class TurnKind {
    // One exchange; an operator's press may still interrupt it.
    OneExchange,
    // A series of exchanges and waits that nobody may cut into: until it
    // ends, other timed senders wait and the operator's presses are refused.
    Conversation,
};

// How a command goes out where its sender asks for more than the usual.
struct SendOptions {
    // The break (or the wake-up characters) first. A retry of a command that
    // got no valid answer goes without: the sensors are still awake.
    bool Wake = true;
    // How long to wait for the answer's first byte; 0: the usual time-out.
    int ResponseTimeoutMs = 0;
};

// What became of a request to send a command.
struct SendOutcome {
    enum class Kind {
        NothingToSend, // the command text was empty
        Refused,       // the command cannot go on the line (Reason says why)
        PortClosed,    // the port is closed and stays so (Reason has the port's report)
        PortLost,      // the device went away; the link reopens it once it is back
        // A conversation holds the line; Reason names it. Timed senders
        // never meet this: they wait for their turn.
        Held,
        Sent, // accepted for the line; Exchange names the exchange it starts
    };
    Kind What = Kind::NothingToSend;
    ExchangeId Exchange = NoExchange;
    QString Reason; // why it was not sent, in the operator's words

    bool IsSent() const { return What == Kind::Sent; }
    bool IsNotSent() const {
        return What == Kind::Refused || What == Kind::PortClosed || What == Kind::PortLost ||
               What == Kind::Held;
    }
};
