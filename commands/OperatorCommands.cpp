#include "commands/OperatorCommands.h"

#include "commands/CommandRepeat.h"
#include "link/ExchangeLink.h"
#include "platform/Clock.h"

#include <QLocale>

OperatorCommands::OperatorCommands(ExchangeLink& link, CommandRepeat& repeat,
                                   ISettingsStore& settings, IClock& clock, QObject* parent)
    : QObject(parent), m_link(link), m_repeat(repeat), m_history(settings), m_clock(clock) {}

SendOutcome OperatorCommands::sendFromOperator(const QString& command, TurnId turn) {
    m_repeat.takeRepeatCount();
    m_link.startRoundTrip();
    return turn == NoTurn ? m_link.sendCommand(command) : m_link.sendInTurn(turn, command);
}

SendOutcome OperatorCommands::sendCommandLine(const QString& address, const QString& body,
                                              TurnId turn) {
    if (body.isEmpty())
        return {};
    const SendOutcome outcome = sendFromOperator(address + body + QLatin1Char('!'), turn);
    // A command that never went on the line is not remembered.
    if (outcome.What == SendOutcome::Kind::Refused || outcome.What == SendOutcome::Kind::Held)
        return outcome;
    const QString historyFailure =
        m_history.Remember(body, QLocale().toString(m_clock.LocalNow(), QLocale::ShortFormat));
    if (!historyFailure.isEmpty())
        emit Report(historyFailure);
    return outcome;
}

SendOutcome OperatorCommands::sendIdentification(const QString& address) {
    return sendFromOperator(address + QLatin1String("I!"), NoTurn);
}

SendOutcome OperatorCommands::sendAddressQuery() {
    return sendFromOperator(QStringLiteral("?!"), NoTurn);
}

SendOutcome OperatorCommands::sendExtendedAddressQuery() {
    return sendFromOperator(QStringLiteral("?X!"), NoTurn);
}

void OperatorCommands::sendLineEnd() {
    m_link.transmitTyped(QByteArrayLiteral("\r\n"));
}

void OperatorCommands::forgetAll() {
    for (const QString& command : m_history.Commands())
        m_history.Forget(command);
}
