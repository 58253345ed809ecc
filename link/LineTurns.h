#pragma once

#include "link/Exchange.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <deque>
#include <functional>
#include <optional>

// The timed senders' turns on the line: those that wait, in the order they
// asked, and the one that has the line. A turn whose owner is gone is
// dropped unseen.
class LineTurns {
public:
    struct Turn {
        TurnId Id = NoTurn;
        TurnKind Kind = TurnKind::OneExchange;
        QPointer<QObject> Owner;
        QString Reason;
        std::function<void(TurnId)> Granted;
        ExchangeId Exchange = NoExchange; // a OneExchange turn's exchange, once sent
    };

    TurnId add(TurnKind kind, QObject* owner, const QString& reason,
               std::function<void(TurnId)> granted);
    // Makes the next waiting turn (whose owner still lives) the active one.
    const Turn* grantNext();
    void withdraw(TurnId turn);
    void endActive() { m_active.reset(); }

    bool isWaiting(TurnId turn) const;
    bool hasWaiting() const { return !m_waiting.empty(); }
    bool isActive(TurnId turn) const { return m_active && m_active->Id == turn; }
    Turn* active() { return m_active ? &*m_active : nullptr; }
    const Turn* active() const { return m_active ? &*m_active : nullptr; }
    // A conversation holds the line, and its reason is why others wait.
    bool conversationOpen() const;
    QString holderReason() const { return m_active ? m_active->Reason : QString(); }

private:
    TurnId m_lastTurn = NoTurn;
    std::deque<Turn> m_waiting;
    std::optional<Turn> m_active;
};
