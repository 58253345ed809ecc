#include "link/ConversationRunner.h"

#include "link/ExchangeLink.h"
#include "timer/CTimer.h"

ConversationRunner::ConversationRunner(ExchangeLink& link, QObject* parent)
    : QObject(parent), m_link(link), m_tmrWait(new CTimer(this)) {
    connect(&m_link, &ExchangeLink::exchangeEnded, this, &ConversationRunner::link_exchangeEnded);
    connect(&m_link, &ExchangeLink::answerCompleted, this,
            &ConversationRunner::link_answerCompleted);
    connect(&m_link, &ExchangeLink::portOpenChanged, this,
            &ConversationRunner::link_portOpenChanged);
    connect(m_tmrWait, &CTimer::Timer, this, &ConversationRunner::tmrWait_Timer);
}

void ConversationRunner::run(ConversationSteps& steps, const QString& reason) {
    if (m_running)
        return;
    m_running = true;
    m_turn = m_link.requestTurn(TurnKind::Conversation, this, reason, [this, &steps](TurnId turn) {
        m_steps = &steps;
        begin(turn);
    });
}

void ConversationRunner::stop() {
    if (m_steps) {
        performInstead(m_steps->Stop());
    } else if (m_running) {
        m_link.endTurn(m_turn); // it still waited for the line
        m_turn = NoTurn;
        m_running = false;
        emit finished();
    }
}

void ConversationRunner::begin(TurnId turn) {
    m_turn = turn;
    emit started();
    perform(m_steps->Begin());
}

void ConversationRunner::perform(const ConversationStep& step) {
    switch (step.What) {
    case ConversationStep::Kind::Send: {
        // Each command is timed from its own send.
        m_link.startRoundTrip();
        const SendOutcome sent = m_link.sendInTurn(m_turn, step.Command, step.Options);
        if (sent.IsSent())
            m_exchange = sent.Exchange;
        else
            perform(m_steps->NotSent(sent.Reason));
        break;
    }
    case ConversationStep::Kind::Wait:
        m_exchange = NoExchange;
        m_tmrWait->setInterval(qMax(1, step.WaitMs));
        m_tmrWait->setEnabled(true);
        break;
    case ConversationStep::Kind::Finish:
        finish();
        break;
    case ConversationStep::Kind::CarryOn:
        break;
    }
}

void ConversationRunner::performInstead(const ConversationStep& step) {
    if (step.What != ConversationStep::Kind::CarryOn)
        m_tmrWait->setEnabled(false);
    perform(step);
}

void ConversationRunner::finish() {
    m_tmrWait->setEnabled(false);
    m_exchange = NoExchange;
    m_steps = nullptr;
    m_running = false;
    const TurnId finished = m_turn;
    m_turn = NoTurn;
    m_link.endTurn(finished);
    emit this->finished();
}

void ConversationRunner::link_exchangeEnded(ExchangeId exchange, ExchangeOutcome outcome,
                                            const QByteArray& answer, bool lineErrors) {
    if (!m_steps || exchange == NoExchange || exchange != m_exchange)
        return;
    m_exchange = NoExchange;
    perform(m_steps->ExchangeEnded(outcome, answer, lineErrors));
}

void ConversationRunner::link_answerCompleted(ExchangeId exchange, const QByteArray& answer) {
    if (m_steps && exchange == NoExchange)
        performInstead(m_steps->LineReceived(answer));
}

void ConversationRunner::link_portOpenChanged() {
    if (m_steps)
        performInstead(m_steps->PortChanged());
}

void ConversationRunner::tmrWait_Timer() {
    m_tmrWait->setEnabled(false);
    if (m_steps)
        perform(m_steps->WaitElapsed());
}
