#pragma once

#include "link/Exchange.h"

#include <QByteArray>
#include <QString>

// What a conversation (a measurement, a scan, an address change) asks of
// whoever drives it next.
struct ConversationStep {
    enum class Kind {
        Send,    // send Command (with Options) and report its exchange's end
        Wait,    // wait WaitMs (an answer outside any exchange may end it sooner)
        Finish,  // the conversation is over
        CarryOn, // nothing new: go on with the step under way
    };
    Kind What = Kind::Finish;
    QString Command;
    int WaitMs = 0;
    SendOptions Options;

    static ConversationStep send(const QString& command, const SendOptions& options = {}) {
        return {Kind::Send, command, 0, options};
    }
    static ConversationStep wait(int milliseconds) {
        return {Kind::Wait, QString(), milliseconds, {}};
    }
    static ConversationStep finish() { return {Kind::Finish, QString(), 0, {}}; }
    static ConversationStep carryOn() { return {Kind::CarryOn, QString(), 0, {}}; }
};

// The decisions of a conversation, as plain steps: the driver sends, waits
// and reports back; the steps never touch the line or a timer.
class ConversationSteps {
public:
    virtual ~ConversationSteps() = default;

    virtual ConversationStep Begin() = 0;
    // The exchange of the last Send ended; lineErrors: the answer came
    // with parity or framing errors.
    virtual ConversationStep ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                           bool lineErrors = false) = 0;
    // The last Send could not go on the line, for `reason`.
    virtual ConversationStep NotSent(const QString& reason) = 0;
    // An answer came with no exchange in flight (a service request, say).
    virtual ConversationStep LineReceived(const QByteArray& line) = 0;
    virtual ConversationStep WaitElapsed() = 0;
    // The port closed or opened during the conversation.
    virtual ConversationStep PortChanged() = 0;
    virtual ConversationStep Stop() = 0;
};
