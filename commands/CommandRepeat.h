#pragma once

#include "link/Exchange.h"

#include <QObject>
#include <QString>

class CTimer;
class ExchangeLink;

// Sends the last command again and again at a set pace. Every command that
// goes on the line outside a conversation arms the repetition when the
// count and the delay ask for it. Each tick waits for its turn on the line
// (a repeat never cuts into an exchange in flight), then sends the link's
// last command and counts down. The count's text doubles as the countdown:
// the repeat-count box shows it.
class CommandRepeat : public QObject {
    Q_OBJECT
public:
    CommandRepeat(ExchangeLink& link, CTimer& tmrRepeatCmd, QObject* parent = nullptr);

    // The boxes' texts, as the operator leaves them; they are read as their
    // leading numbers (an empty box counts as 0).
    void setCountText(const QString& text);
    void setDelayText(const QString& text);
    QString countText() const { return m_countText; }

    // An operator's send takes the count shown as the one to show again
    // when the repetition ends.
    void takeRepeatCount();
    qint32 repeatCount() const { return m_repeatCount; }
    bool running() const { return m_running; }

    void tmrRepeatCmd_Timer();

signals:
    // The count shown changed (a countdown step, or its end).
    void countTextChanged(const QString& text);
    void runningChanged(bool running);

private:
    void link_commandTransmitted(ExchangeId exchange, const QString& command, SendOrigin origin);
    void sendAgain(TurnId turn);
    void setRunning(bool running);
    void showCount(const QString& text);

    ExchangeLink& m_link;
    CTimer& m_tmrRepeatCmd;
    QString m_countText = QStringLiteral("0");
    QString m_delayText = QStringLiteral("50");
    qint32 m_repeatCount = 0;
    bool m_running = false;
    TurnId m_turn = NoTurn; // the tick's turn, while it waits
};
