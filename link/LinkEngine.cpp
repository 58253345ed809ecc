#include "link/LinkEngine.h"

#include "link/TrafficLog.h"
#include "platform/Clock.h"
#include "platform/LineSettings.h"
#include "platform/SerialPort.h"
#include "timer/CTimer.h"

namespace {

const QString ParityErrorReport = QStringLiteral("PARITY ERROR");
const QString TimeOutReport = QStringLiteral("TIMEOUT");

// Grants wait while a send is decided: an exchange it interrupts must not
// let a waiting sender in before the new command.
class GrantHold {
public:
    explicit GrantHold(int& holds) : m_holds(holds) { ++m_holds; }
    ~GrantHold() { --m_holds; }
    GrantHold(const GrantHold&) = delete;
    GrantHold& operator=(const GrantHold&) = delete;

private:
    int& m_holds;
};

} // namespace

LinkEngine::LinkEngine(ISerialPort& port, IClock& clock, TrafficLog& trafficLog, QObject* parent)
    : ExchangeLink(parent), m_port(port), m_clock(clock), m_trafficLog(trafficLog),
      m_tmrRcv(new CTimer(this)), m_tmrReopen(new CTimer(this)), m_portOpen(port.IsOpen()) {
    m_tmrRcv->setInterval(ReceiveTickMs);
    m_tmrReopen->setInterval(ReopenIntervalMs);
    connect(m_tmrRcv, &CTimer::Timer, this, &LinkEngine::tmrRcv_Timer);
    connect(m_tmrReopen, &CTimer::Timer, this, &LinkEngine::tmrReopen_Timer);
    connect(&m_port, &ISerialPort::StatusChanged, this, &LinkEngine::Sax_StatusChanged);
    connect(&m_port, &ISerialPort::BytesReceived, this, &LinkEngine::Sax_BytesReceived);
    connect(&m_port, &ISerialPort::LineEvent, this, &LinkEngine::Sax_LineEvent);
    connect(&m_port, &ISerialPort::WriteFinished, this, &LinkEngine::Sax_WriteFinished);
}

void LinkEngine::setWakeUpCount(double requested) {
    m_wakeUp = Transmission::WakeUpFor(requested);
}

void LinkEngine::setPortName(const QString& name) {
    m_portName = name;
}

void LinkEngine::choosePort(const QString& name) {
    reopenWith([this, name] { m_port.setPortName(name); });
}

void LinkEngine::chooseLineSettings(const QString& lineSettings) {
    reopenWith([this, lineSettings] { m_port.setLineSettings(lineSettings); });
}

void LinkEngine::reopenWith(const std::function<void()>& choose) {
    stopReopening();
    if (m_port.IsOpen())
        m_port.setIsOpen(false);
    choose();
    m_port.setIsOpen(true);
}

// Operator's presses

SendOutcome LinkEngine::sendCommand(const QString& command) {
    if (m_turns.conversationOpen())
        return refuse(SendOutcome::Kind::Held, m_turns.holderReason());
    return send(command, SendOrigin::Press);
}

void LinkEngine::transmitTyped(const QByteArray& bytes) {
    if (m_turns.conversationOpen()) {
        refuse(SendOutcome::Kind::Held, m_turns.holderReason());
        return;
    }
    const QString refusal = wireRefusal(QString::fromLatin1(bytes));
    if (!refusal.isEmpty()) {
        refuse(SendOutcome::Kind::Refused, refusal);
        return;
    }
    // A closed port sends nothing; its status change reports why.
    m_port.Transmit(bytes);
}

void LinkEngine::Sax_KeyTyped(int code) {
    if (code == 13)
        transmitTyped(QByteArrayLiteral("\r\n"));
    else
        transmitTyped(QByteArray(1, char(code & 0xFF)));
}

void LinkEngine::startRoundTrip() {
    m_state.RoundTripStart = m_clock.TickMs();
    emit roundTripStarted();
}

// Turns

TurnId LinkEngine::requestTurn(TurnKind kind, QObject* owner, const QString& reason,
                               std::function<void(TurnId)> granted) {
    const TurnId turn = m_turns.add(kind, owner, reason, std::move(granted));
    grantWaitingTurns();
    return turn;
}

SendOutcome LinkEngine::sendInTurn(TurnId turn, const QString& command,
                                   const SendOptions& options) {
    const LineTurns::Turn* active = m_turns.active();
    const bool ownTurn = active && active->Id == turn &&
                         (active->Kind == TurnKind::Conversation || active->Exchange == NoExchange);
    if (!ownTurn)
        return refuse(SendOutcome::Kind::Refused,
                      tr("%1 was sent out of its turn on the line").arg(command));
    const bool conversation = active->Kind == TurnKind::Conversation;
    return send(command, conversation ? SendOrigin::Conversation : SendOrigin::Turn, options);
}

void LinkEngine::endTurn(TurnId turn) {
    const bool wasActive = m_turns.isActive(turn);
    m_turns.withdraw(turn);
    if (wasActive)
        grantWaitingTurns();
}

// Bytes arriving with no exchange in flight (a late answer after a
// time-out, say) keep the line busy too: a timed sender does not talk over
// them, and goes once they have completed.
bool LinkEngine::lineBusy() const {
    const LineTurns::Turn* active = m_turns.active();
    return m_pending || m_state.InFlight() || (active && active->Owner) ||
           m_port.WaitingCount() > 0;
}

void LinkEngine::grantWaitingTurns() {
    if (m_grantsHeld > 0)
        return; // the send or the grant under way looks again when it is done
    const GrantHold hold(m_grantsHeld);
    if (const LineTurns::Turn* active = m_turns.active(); active && !active->Owner)
        m_turns.endActive(); // its sender is gone
    while (!lineBusy()) {
        const LineTurns::Turn* turn = m_turns.grantNext();
        if (!turn)
            break;
        const TurnId id = turn->Id;
        const std::function<void(TurnId)> granted = turn->Granted;
        granted(id);
        endOneExchangeTurnIfIdle(id);
    }
}

// A one-exchange turn that sent nothing, or whose send failed, ends at once.
void LinkEngine::endOneExchangeTurnIfIdle(TurnId turn) {
    const LineTurns::Turn* active = m_turns.active();
    if (active && active->Id == turn && active->Kind == TurnKind::OneExchange &&
        active->Exchange == NoExchange)
        m_turns.endActive();
}

// Sending

SendOutcome LinkEngine::refuse(SendOutcome::Kind kind, const QString& reason) {
    report(LinkReport::Kind::Refusal, tr("Not sent: %1").arg(reason));
    return {kind, NoExchange, reason};
}

QString LinkEngine::wireRefusal(const QString& text) const {
    const LineSettingsParse line = parseLineSettings(m_port.LineSettings());
    const int dataBits = line.ok ? line.format.dataBits : 8;
    const uint largestCode = (1u << dataBits) - 1;
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return tr("the command holds characters that cannot go on the serial line");
        if (c.unicode() > largestCode)
            return tr("\"%1\" cannot go on a line of %2 data bits (%3)")
                .arg(c)
                .arg(dataBits)
                .arg(m_port.LineSettings());
    }
    return QString();
}

SendOutcome LinkEngine::send(const QString& command, SendOrigin origin,
                             const SendOptions& options) {
    if (command.isEmpty())
        return {};
    const QString refusal = wireRefusal(command);
    if (!refusal.isEmpty())
        return refuse(SendOutcome::Kind::Refused, refusal);
    if (m_wakeUp.TooMany())
        return refuse(SendOutcome::Kind::Refused,
                      tr("%1 wake-up characters are more than the %2 this terminal sends")
                          .arg(m_wakeUp.Count)
                          .arg(Transmission::MaxWakeUpCharacters));

    SendOutcome outcome;
    {
        const GrantHold hold(m_grantsHeld);
        outcome = putOnLine(command, origin, options);
    }
    grantWaitingTurns();
    return outcome;
}

SendOutcome LinkEngine::putOnLine(const QString& command, SendOrigin origin,
                                  const SendOptions& options) {
    // What waits was said before this command, so it cannot be its answer.
    completeWaiting();
    interruptExchangeInFlight();
    // The repeat sends the operator's commands again, never a conversation's.
    if (origin != SendOrigin::Conversation)
        m_lastCommand = command;
    const bool withBreak = options.Wake && m_wakeUp.UseBreak;
    if (withBreak && !m_port.IsOpen())
        openForBreak();
    if (m_reopening && !m_port.IsOpen())
        return refuse(SendOutcome::Kind::PortLost,
                      tr("%1 is gone until it is back").arg(m_reopenName));
    if (withBreak && !m_port.IsOpen())
        return {SendOutcome::Kind::PortClosed, NoExchange, m_port.StatusText()};
    if (!m_port.IsOpen())
        return refuse(SendOutcome::Kind::PortClosed, tr("the port is closed"));

    const ExchangeId exchange = ++m_lastExchange;
    m_pending = Pending{exchange, command, origin, options.ResponseTimeoutMs};
    if (LineTurns::Turn* active = m_turns.active();
        origin == SendOrigin::Turn && active && active->Kind == TurnKind::OneExchange)
        active->Exchange = exchange;
    const QByteArray wire = command.toLatin1();
    bool queued = true;
    if (withBreak) {
        queued = m_port.Write({BreakMs, MarkAfterBreakMs, wire, exchange});
    } else if (!options.Wake) {
        queued = m_port.Write({0, 0, wire, exchange});
    } else {
        if (m_wakeUp.Count > 0)
            queued =
                m_port.Transmit(QByteArray(int(m_wakeUp.Count), Transmission::WakeUpCharacter));
        queued = queued && m_port.Write({0, 0, wire, exchange});
    }
    if (!queued && m_pending && m_pending->Exchange == exchange) {
        m_pending.reset();
        endExchange(exchange, ExchangeOutcome::Interrupted, QByteArray());
        return {SendOutcome::Kind::PortClosed, NoExchange, m_port.StatusText()};
    }
    return {SendOutcome::Kind::Sent, exchange, QString()};
}

// The break opens a closed port first, with the port name shown. A port
// being reopened is tried as the reopen timer tries it.
void LinkEngine::openForBreak() {
    m_reopenAttempt = m_reopening;
    m_port.setPortName(m_reopening ? m_reopenName : m_portName);
    m_port.setIsOpen(true);
    m_reopenAttempt = false;
    if (m_reopening && m_port.IsOpen())
        portCameBack();
}

void LinkEngine::Sax_WriteFinished(quint64 tag, bool onTheLine) {
    if (!m_pending || tag != m_pending->Exchange)
        return;
    const Pending pending = *m_pending;
    m_pending.reset();
    if (!onTheLine) {
        endExchange(pending.Exchange, ExchangeOutcome::Interrupted, QByteArray());
        return;
    }
    Reception::Start(m_state, pending.Exchange, m_clock.MonotonicSeconds(),
                     pending.ResponseTimeoutMs / 1000.0);
    scheduleTicks();
    emit commandTransmitted(pending.Exchange, pending.Command, pending.Origin);
}

void LinkEngine::Timer1_Timer(CTimer& Timer1) {
    m_port.setBreakState(!m_port.BreakState());
    if (!m_port.BreakState())
        Timer1.setEnabled(false);
}

// Reception

TickInput LinkEngine::tickInput() const {
    const QByteArray waiting = m_port.PeekWaiting();
    TickInput input;
    input.WaitingCount = waiting.size();
    input.WaitingEndsWithLineEnd = waiting.endsWith("\r\n");
    input.NowSeconds = m_clock.MonotonicSeconds();
    input.NowTick = m_clock.TickMs();
    input.WakeUpInUse = !m_wakeUp.UseBreak;
    return input;
}

void LinkEngine::tmrRcv_Timer() {
    // Between a command's request and its transmission the line belongs to
    // its break and bytes; what arrives meanwhile waits for the command.
    if (!m_pending) {
        const TickResult result = Reception::Tick(m_state, tickInput());
        if (result.Outcome == TickOutcome::TimedOut)
            timeOut(result.Exchange);
        else if (result.Outcome == TickOutcome::Completed)
            complete(result, true);
    }
    scheduleTicks();
}

// Bytes came in: tick now and start the 10 ms period afresh, so that the
// answer completes one quiet tick after its last byte.
void LinkEngine::Sax_BytesReceived() {
    if (m_pending)
        return;
    tmrRcv_Timer();
    if (Reception::NeedsTicks(m_state, m_port.WaitingCount()))
        m_tmrRcv->setEnabled(true); // restarts the period from now
}

// The tick runs only while it has something to decide, so an idle link
// costs no processor time.
void LinkEngine::scheduleTicks() {
    const bool needed = !m_pending && Reception::NeedsTicks(m_state, m_port.WaitingCount());
    if (needed != m_tmrRcv->Enabled())
        m_tmrRcv->setEnabled(needed);
}

void LinkEngine::completeWaiting() {
    TickInput input = tickInput();
    while (input.WaitingCount > 0) {
        complete(Reception::CompleteWaiting(m_state, input), false);
        input = tickInput();
    }
}

void LinkEngine::interruptExchangeInFlight() {
    if (m_pending) {
        const ExchangeId pending = m_pending->Exchange;
        m_pending.reset();
        endExchange(pending, ExchangeOutcome::Interrupted, QByteArray());
    }
    const ExchangeId interrupted = Reception::Restart(m_state);
    if (interrupted != NoExchange)
        endExchange(interrupted, ExchangeOutcome::Interrupted, QByteArray());
}

void LinkEngine::endExchange(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer,
                             bool lineErrors) {
    emit exchangeEnded(exchange, outcome, answer, lineErrors);
    if (const LineTurns::Turn* active = m_turns.active();
        active && active->Kind == TurnKind::OneExchange && active->Exchange == exchange)
        m_turns.endActive();
    grantWaitingTurns();
}

void LinkEngine::timeOut(ExchangeId exchange) {
    report(LinkReport::Kind::TimeOut, TimeOutReport);
    if (exchange != NoExchange)
        endExchange(exchange, ExchangeOutcome::TimedOut, QByteArray());
}

void LinkEngine::complete(const TickResult& result, bool showRoundTrip) {
    const QByteArray answer = m_port.Read(result.Bytes);
    const bool lineErrors = m_port.LastEventCode() != 0;
    if (m_port.LastEventCode() == ISerialPort::ParityErrorEvent)
        report(LinkReport::Kind::ParityError, ParityErrorReport);
    if (showRoundTrip)
        emit roundTripMeasured(result.RoundTripMs);
    const QString logFailure = m_trafficLog.Write(answer, result.GapMs);
    if (!logFailure.isEmpty()) {
        report(LinkReport::Kind::LogFailure, logFailure, true);
        m_logFailureShown = true;
    } else if (m_logFailureShown && !m_trafficLog.Failing()) {
        report(LinkReport::Kind::LogFailure, QString());
        m_logFailureShown = false;
    }
    emit answerCompleted(result.Exchange, answer);
    if (result.Exchange != NoExchange)
        endExchange(result.Exchange, ExchangeOutcome::Answered, answer, lineErrors);
    else
        grantWaitingTurns();
}

void LinkEngine::Sax_LineEvent() {
    if (m_port.LastEventCode() == ISerialPort::ParityErrorEvent)
        report(LinkReport::Kind::ParityError, ParityErrorReport);
}

// The port's state

// Opening, closing or reopening the port starts reception afresh: nothing
// said before can complete as an answer to a command in flight.
void LinkEngine::Sax_StatusChanged() {
    if (m_reopenAttempt)
        return; // the reopen timer judges its own attempt
    const bool open = m_port.IsOpen();
    if (open != m_portOpen) {
        m_portOpen = open;
        interruptExchangeInFlight();
        scheduleTicks();
        emit portOpenChanged(open);
    }
    if (m_port.Lost())
        startReopening();
    else if (open)
        stopReopening();
    reportPortState();
    emit linkStateChanged();
}

void LinkEngine::reportPortState() {
    QString text = m_port.StatusText();
    if (m_reopening)
        text = tr("%1; it is reopened as soon as it is back, or choose another port").arg(text);
    report(LinkReport::Kind::PortState, text, !m_port.IsOpen());
}

void LinkEngine::startReopening() {
    if (m_reopening)
        return;
    m_reopening = true;
    m_reopenName = m_port.PortName();
    m_tmrReopen->setEnabled(true);
}

void LinkEngine::stopReopening() {
    m_reopening = false;
    m_tmrReopen->setEnabled(false);
}

void LinkEngine::tmrReopen_Timer() {
    m_reopenAttempt = true;
    m_port.setPortName(m_reopenName);
    m_port.setIsOpen(true);
    m_reopenAttempt = false;
    if (m_port.IsOpen())
        portCameBack();
}

void LinkEngine::portCameBack() {
    stopReopening();
    m_portOpen = true;
    emit portOpenChanged(true);
    report(LinkReport::Kind::PortState,
           tr("%1 is back: %2").arg(m_reopenName, m_port.StatusText()));
    emit linkStateChanged();
}

LinkState::Kind LinkEngine::linkState() const {
    return LinkState::KindOf(m_port.IsOpen(), m_reopening);
}

QString LinkEngine::linkStateText() const {
    return LinkState::Text(linkState(), m_port.PortName(), m_port.LineSettings());
}

void LinkEngine::report(LinkReport::Kind kind, const QString& text, bool standing) {
    emit reported({kind, text, standing});
}
