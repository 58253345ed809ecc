#pragma once

#include "commands/CommandHistory.h"
#include "link/Exchange.h"

#include <QObject>
#include <QString>
#include <QStringList>

class CommandRepeat;
class ExchangeLink;
class IClock;
class ISettingsStore;

// The operator's sends from the command area, as plain decisions: the
// command line's text between the address and "!", the quick identification
// and address queries, the stored history of typed commands, and Enter's
// line end. Each send takes the repeat count shown and starts the round
// trip afresh. Reports that are not the link's (the history could not be
// stored) come out as Report.
class OperatorCommands : public QObject {
    Q_OBJECT
public:
    OperatorCommands(ExchangeLink& link, CommandRepeat& repeat, ISettingsStore& settings,
                     IClock& clock, QObject* parent = nullptr);

    // Sends address + body + "!"; nothing for an empty body. Within `turn`
    // (a batch row in its turn) it goes in that turn; else at once. A body
    // that went out, or waits only for its port, joins the history.
    SendOutcome sendCommandLine(const QString& address, const QString& body, TurnId turn = NoTurn);
    // "Sensor Identification", "Sensor Address Query", "X Address Query".
    SendOutcome sendIdentification(const QString& address);
    SendOutcome sendAddressQuery();
    SendOutcome sendExtendedAddressQuery();
    // Enter in the window writes CR LF to the port.
    void sendLineEnd();

    QStringList history() const { return m_history.Commands(); }
    void forget(const QString& body) { m_history.Forget(body); }
    void forgetAll();

signals:
    void Report(const QString& text);

private:
    SendOutcome sendFromOperator(const QString& command, TurnId turn);

    ExchangeLink& m_link;
    CommandRepeat& m_repeat;
    CommandHistory m_history;
    IClock& m_clock;
};
