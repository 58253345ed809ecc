#pragma once

#include "link/ExchangeLink.h"
#include "link/LineTurns.h"
#include "link/LinkState.h"
#include "link/Reception.h"
#include "link/Transmission.h"

#include <QByteArray>
#include <QString>
#include <optional>

class CTimer;
class IClock;
class ISerialPort;
class TrafficLog;

// The one owner of the port's use: it wakes the line (break or wake-up
// characters) and writes each command, runs the reception tick that
// completes answers and declares time-outs, numbers the exchanges and
// reports each outcome once, takes the timed senders in turn, writes the
// transcript and the log, and reopens a port whose device went away.
//
// It reads no control: the window sets its inputs (the wake-up count, the
// port name, the port and line-settings choices) and listens to its
// signals. The break and the writes are the port component's, made away
// from this thread, so the window never waits on the line; no reception
// tick runs between the request of a command and its transmission.
class LinkEngine : public ExchangeLink {
    Q_OBJECT
public:
    static constexpr int BreakMs = 50;
    static constexpr int MarkAfterBreakMs = 20;
    static constexpr int ReceiveTickMs = 10;
    static constexpr int ReopenIntervalMs = 1000;

    LinkEngine(ISerialPort& port, IClock& clock, TrafficLog& trafficLog, QObject* parent = nullptr);

    // The wake-up box's leading number: 0 or less selects the break; more
    // selects that many wake-up characters (rounded) and the long time-out.
    void setWakeUpCount(double requested);
    // The shown port name: the port a break opens when it finds it closed.
    void setPortName(const QString& name);
    // The operator's choice of port or line settings, or start-up's: the port
    // closes, takes the choice and opens again. A port whose device went away
    // is no longer tried once the operator has chosen.
    void choosePort(const QString& name);
    void chooseLineSettings(const QString& lineSettings);

    SendOutcome sendCommand(const QString& command) override;
    TurnId requestTurn(TurnKind kind, QObject* owner, const QString& reason,
                       std::function<void(TurnId)> granted) override;
    SendOutcome sendInTurn(TurnId turn, const QString& command,
                           const SendOptions& options = {}) override;
    void endTurn(TurnId turn) override;
    bool isWaiting(TurnId turn) const override { return m_turns.isWaiting(turn); }
    void startRoundTrip() override;
    QString lastCommand() const override { return m_lastCommand; }

    void transmitTyped(const QByteArray& bytes) override;
    void Sax_KeyTyped(int code);
    void Timer1_Timer(CTimer& Timer1);

    LinkState::Kind linkState() const;
    QString linkStateText() const;
    // A sender has the line, a command waits for it or for its answer, or
    // bytes are arriving.
    bool lineBusy() const;

    // The reception tick; tests may drive it by hand.
    CTimer& receiveTimer() { return *m_tmrRcv; }
    void tmrRcv_Timer();
    CTimer& reopenTimer() { return *m_tmrReopen; }
    void tmrReopen_Timer();

signals:
    void linkStateChanged();

private:
    // A command asked for, not yet on the line (its break, marking or
    // bytes still being made).
    struct Pending {
        ExchangeId Exchange = NoExchange;
        QString Command;
        SendOrigin Origin = SendOrigin::Press;
        int ResponseTimeoutMs = 0;
    };

    SendOutcome send(const QString& command, SendOrigin origin, const SendOptions& options = {});
    SendOutcome putOnLine(const QString& command, SendOrigin origin, const SendOptions& options);
    SendOutcome refuse(SendOutcome::Kind kind, const QString& reason);
    // Why the text cannot go on this line; empty when it can.
    QString wireRefusal(const QString& text) const;
    void openForBreak();
    void portCameBack();
    void Sax_WriteFinished(quint64 tag, bool onTheLine);
    void Sax_StatusChanged();
    void Sax_BytesReceived();
    void Sax_LineEvent();

    TickInput tickInput() const;
    void complete(const TickResult& result, bool showRoundTrip);
    void timeOut(ExchangeId exchange);
    void completeWaiting();
    void interruptExchangeInFlight();
    void endExchange(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer,
                     bool lineErrors = false);
    void scheduleTicks();

    // The turn that may start now, if the line is free.
    void grantWaitingTurns();
    void endOneExchangeTurnIfIdle(TurnId turn);

    void reopenWith(const std::function<void()>& choose);
    void reportPortState();
    void startReopening();
    void stopReopening();
    void report(LinkReport::Kind kind, const QString& text, bool standing = false);

    ISerialPort& m_port;
    IClock& m_clock;
    TrafficLog& m_trafficLog;
    CTimer* m_tmrRcv;
    CTimer* m_tmrReopen;
    Transmission::WakeUp m_wakeUp;
    QString m_portName;
    ReceptionState m_state;
    ExchangeId m_lastExchange = NoExchange;
    std::optional<Pending> m_pending;
    QString m_lastCommand;
    LineTurns m_turns;
    int m_grantsHeld = 0;     // grants wait while a send is being decided
    bool m_portOpen = false;  // as last seen, to tell a change
    bool m_reopening = false; // the device went away; the port is tried once a second
    bool m_reopenAttempt = false;
    QString m_reopenName;
    bool m_logFailureShown = false;
};
