#include "link/LineTurns.h"

#include <algorithm>

TurnId LineTurns::add(TurnKind kind, QObject* owner, const QString& reason,
                      std::function<void(TurnId)> granted) {
    Turn turn;
    turn.Id = ++m_lastTurn;
    turn.Kind = kind;
    turn.Owner = owner;
    turn.Reason = reason;
    turn.Granted = std::move(granted);
    m_waiting.push_back(std::move(turn));
    return m_lastTurn;
}

const LineTurns::Turn* LineTurns::grantNext() {
    while (!m_waiting.empty()) {
        Turn next = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (next.Owner) {
            m_active = std::move(next);
            return &*m_active;
        }
    }
    return nullptr;
}

void LineTurns::withdraw(TurnId turn) {
    if (isActive(turn)) {
        m_active.reset();
        return;
    }
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                   [turn](const Turn& waiting) { return waiting.Id == turn; }),
                    m_waiting.end());
}

bool LineTurns::isWaiting(TurnId turn) const {
    return std::any_of(m_waiting.begin(), m_waiting.end(),
                       [turn](const Turn& waiting) { return waiting.Id == turn; });
}

bool LineTurns::conversationOpen() const {
    return m_active && m_active->Kind == TurnKind::Conversation && m_active->Owner;
}
