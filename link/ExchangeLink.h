#pragma once

#include "link/Exchange.h"
#include "link/LinkReport.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

// What every sender knows of the link to the sensors.
//
// Senders come in two kinds. The operator's presses (sendCommand) go out at
// once, as an operator expects; an exchange in flight then ends
// Interrupted. Timed senders (the repeat, the batch, a measurement) never
// cut into an exchange: they ask for a turn and send when it is granted,
// which is once no exchange is in flight and no conversation holds the
// line, in the order they asked.
class ExchangeLink : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // An operator's press: wakes the line and sends the whole command text.
    // Refused, with the holder's reason, while a conversation is open.
    virtual SendOutcome sendCommand(const QString& command) = 0;

    // Asks for a turn on the line. `granted` runs, perhaps before this
    // returns, when the turn comes; it is dropped when `owner` is destroyed
    // first. A OneExchange turn ends with the exchange it sends (at once
    // when it sends none); a Conversation lasts until endTurn, and while it
    // is open the operator's presses are refused with `reason`.
    virtual TurnId requestTurn(TurnKind kind, QObject* owner, const QString& reason,
                               std::function<void(TurnId)> granted) = 0;
    // Sends within a granted turn, as sendCommand sends unless `options`
    // say otherwise.
    virtual SendOutcome sendInTurn(TurnId turn, const QString& command,
                                   const SendOptions& options = {}) = 0;
    // Ends a granted turn, or withdraws one that still waits.
    virtual void endTurn(TurnId turn) = 0;
    virtual bool isWaiting(TurnId turn) const = 0;

    // Bytes the operator typed (no time-out follows them). Refused while a
    // conversation is open.
    virtual void transmitTyped(const QByteArray& bytes) = 0;

    // The next round trip shown counts from now.
    virtual void startRoundTrip() = 0;
    // The last command handed to the link outside a conversation: what the
    // repeat sends again.
    virtual QString lastCommand() const = 0;

signals:
    // The command went on the line (after its break or wake-up characters).
    void commandTransmitted(ExchangeId exchange, const QString& command, SendOrigin origin);
    // An answer completed: the first one of `exchange`, or, with NoExchange,
    // one that came with no exchange in flight (a service request, a late
    // answer, an answer to typed bytes, noise).
    void answerCompleted(ExchangeId exchange, const QByteArray& answer);
    // The exchange's one outcome; answer holds its bytes when Answered, and
    // lineErrors tells whether parity or framing errors came with them.
    void exchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer,
                       bool lineErrors);
    // An operator's send: the round-trip figure empties until the next answer.
    void roundTripStarted();
    void roundTripMeasured(qint64 milliseconds);
    void reported(const LinkReport& report);
    // The port opened or closed (on purpose or because the device went away).
    void portOpenChanged(bool open);
};
