#pragma once

#include "link/Conversation.h"

#include <QObject>
#include <QString>

class CTimer;
class ExchangeLink;

// Drives a conversation's steps over the link. It asks for the line (an
// exchange in flight ends first), sends each command within the
// conversation, so that nobody cuts into it, waits with a timer, hands each
// outcome, each answer outside an exchange and each change of the port to
// the steps, and gives the line back when they finish. A command that
// cannot go out is handed back with the link's reason. Nothing sleeps.
class ConversationRunner : public QObject {
    Q_OBJECT
public:
    explicit ConversationRunner(ExchangeLink& link, QObject* parent = nullptr);

    // Runs `steps` once the line is free; they must live until finished.
    // While they run, the operator's presses are refused with `reason`.
    void run(ConversationSteps& steps, const QString& reason);
    // Hands Stop to the steps under way; a run that still waits for the line
    // is withdrawn and finishes at once.
    void stop();
    // From run() until finished.
    bool isRunning() const { return m_running; }

    // The wait timer, for tests that let time pass at once.
    CTimer& waitTimer() { return *m_tmrWait; }

signals:
    // The line came: the first step is about to go.
    void started();
    void finished();

private:
    void begin(TurnId turn);
    void perform(const ConversationStep& step);
    void finish();
    void link_exchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer,
                            bool lineErrors);
    void link_answerCompleted(ExchangeId exchange, const QByteArray& answer);
    void link_portOpenChanged();
    void tmrWait_Timer();
    // A step that interrupts the wait under way.
    void performInstead(const ConversationStep& step);

    ExchangeLink& m_link;
    CTimer* m_tmrWait;
    ConversationSteps* m_steps = nullptr; // while the line is ours
    bool m_running = false;
    TurnId m_turn = NoTurn;
    ExchangeId m_exchange = NoExchange; // the steps' exchange in flight
};
