#include "commands/CommandRepeat.h"

#include "commands/BoxValidation.h"
#include "commands/Repetition.h"
#include "link/ExchangeLink.h"
#include "platform/Val.h"
#include "timer/CTimer.h"

CommandRepeat::CommandRepeat(ExchangeLink& link, CTimer& tmrRepeatCmd, QObject* parent)
    : QObject(parent), m_link(link), m_tmrRepeatCmd(tmrRepeatCmd) {
    connect(&m_link, &ExchangeLink::commandTransmitted, this,
            &CommandRepeat::link_commandTransmitted);
    connect(&m_tmrRepeatCmd, &CTimer::Timer, this, &CommandRepeat::tmrRepeatCmd_Timer);
}

void CommandRepeat::setCountText(const QString& text) {
    m_countText = text;
}

void CommandRepeat::setDelayText(const QString& text) {
    m_delayText = text;
}

void CommandRepeat::takeRepeatCount() {
    m_repeatCount = Val::RoundToInt32(Val::LeadingNumber(m_countText));
}

// Setting the interval restarts the count, so the first repeat comes one
// delay after this command.
void CommandRepeat::link_commandTransmitted(ExchangeId, const QString&, SendOrigin origin) {
    if (origin == SendOrigin::Conversation)
        return; // a measurement's or a scan's commands are not the operator's
    const std::optional<qint32> interval = Repetition::ArmInterval(m_countText, m_delayText);
    if (!interval)
        return;
    m_tmrRepeatCmd.setInterval(*interval);
    setRunning(true);
}

// A tick whose turn still waits does nothing more: the repeat sends once
// per turn, never piling commands up behind a slow answer.
void CommandRepeat::tmrRepeatCmd_Timer() {
    if (m_turn != NoTurn && m_link.isWaiting(m_turn))
        return;
    m_turn = m_link.requestTurn(TurnKind::OneExchange, this, QString(),
                                [this](TurnId turn) { sendAgain(turn); });
}

void CommandRepeat::sendAgain(TurnId turn) {
    m_turn = NoTurn;
    if (!m_running)
        return; // stopped while the turn waited
    m_link.sendInTurn(turn, m_link.lastCommand());
    showCount(Repetition::CountedDown(m_countText));
    if (Repetition::CountdownEnded(m_countText)) {
        setRunning(false);
        showCount(QString::number(m_repeatCount));
    }
}

void CommandRepeat::showCount(const QString& text) {
    m_countText = BoxValidation::Normalize(text, BoxValidation::RepeatCountLimit);
    emit countTextChanged(m_countText);
}

void CommandRepeat::setRunning(bool running) {
    m_tmrRepeatCmd.setEnabled(running);
    if (running == m_running)
        return;
    m_running = running;
    if (!running && m_turn != NoTurn) {
        m_link.endTurn(m_turn);
        m_turn = NoTurn;
    }
    emit runningChanged(running);
}
