#include "link/ui/SensorLink.h"

#include "link/TrafficLog.h"
#include "link/Transmission.h"
#include "platform/Clock.h"
#include "platform/SerialPort.h"
#include "platform/StatusPanels.h"
#include "platform/Val.h"
#include "timer/CTimer.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {
constexpr int BreakMs = 50;
constexpr int MarkAfterBreakMs = 20;
const QString ReportSeparator = QStringLiteral("  |  ");
const QString ParityErrorReport = QStringLiteral("PARITY ERROR");
} // namespace

SensorLink::SensorLink(ISerialPort& sax, IClock& clock, IStatusPanels& status,
                       TrafficLog& trafficLog, const LinkControls& controls, QObject* parent)
    : QObject(parent), Sax(sax), m_clock(clock), m_status(status), m_trafficLog(trafficLog),
      m_controls(controls), m_portOpen(sax.IsOpen()) {
    connect(&Sax, &ISerialPort::StatusChanged, this, &SensorLink::Sax_StatusChanged);
}

SendOutcome SensorLink::SendCommand(const QString& command) {
    if (refusedWhileHeld())
        return {SendOutcome::Kind::Held, NoExchange};
    const SendOutcome outcome = transmitCommand(command);
    // The repetition sends this again; a holder's commands are its own.
    if (outcome.What != SendOutcome::Kind::Refused)
        m_lastCommand = command;
    return outcome;
}

void SensorLink::Hold(const QString& holderReport) {
    m_holderReport = holderReport;
}

void SensorLink::Release() {
    m_holderReport.clear();
}

SendOutcome SensorLink::SendHeldCommand(const QString& command) {
    StartRoundTrip();
    return transmitCommand(command);
}

void SensorLink::StartRoundTrip() {
    m_controls.lblRoundTrip->setText(QString());
    m_state.RoundTripStart = m_clock.TickMs();
}

bool SensorLink::refusedWhileHeld() {
    if (!IsHeld())
        return false;
    m_status.SetPanelText(1, tr("Not sent: %1").arg(m_holderReport));
    return true;
}

SendOutcome SensorLink::transmitCommand(const QString& command) {
    const std::optional<QByteArray> wire = Transmission::ToWire(command);
    if (!wire) {
        m_status.SetPanelText(
            1, tr("Not sent: the command holds characters that cannot go on the serial line"));
        return {SendOutcome::Kind::Refused, NoExchange};
    }
    const Transmission::WakeUp wakeUp = Transmission::WakeUpFor(m_controls.txtWakeUp->text());
    if (wakeUp.TooMany()) {
        m_status.SetPanelText(1, tr("Not sent: %1 wake-up characters are more than the %2 "
                                    "this terminal sends")
                                     .arg(wakeUp.Count)
                                     .arg(Transmission::MaxWakeUpCharacters));
        return {SendOutcome::Kind::Refused, NoExchange};
    }

    completeWaiting();
    interruptExchangeInFlight();
    if (wakeUp.UseBreak)
        SendBreak();
    else
        SendWakeUp(wakeUp.Count);
    m_receivedText.clear();
    m_status.SetPanelText(2, QString());
    if (!Sax.IsOpen()) {
        // Nothing can go out, so no answer and no time-out can follow; the
        // port's own report (of the failed reopen, say) stays in sight.
        m_status.SetPanelText(1, Sax.StatusText());
        return {SendOutcome::Kind::PortClosed, NoExchange};
    }
    Sax.Transmit(*wire);
    m_status.SetPanelText(1, QString());
    Reception::Start(m_state, ++m_lastExchange, m_clock.MonotonicSeconds());
    scheduleTicks();
    const ExchangeId exchange = m_lastExchange;
    emit CommandTransmitted(exchange, command);
    return {SendOutcome::Kind::Sent, exchange};
}

void SensorLink::SendBreak() {
    if (!Sax.IsOpen()) {
        Sax.setPortName(m_controls.cboLines->currentText());
        Sax.setIsOpen(true);
        m_status.SetPanelText(1, Sax.StatusText());
        // A port that stays closed keeps the report of why it did not open.
        if (!Sax.IsOpen())
            return;
    }
    Sax.setBreakState(true);
    m_clock.SleepPrecise(BreakMs);
    Sax.setBreakState(false);
    m_clock.SleepPrecise(MarkAfterBreakMs);
}

void SensorLink::SendWakeUp(qint64 count) {
    if (count > 0)
        Sax.Transmit(QByteArray(int(count), Transmission::WakeUpCharacter));
}

void SensorLink::Sax_KeyTyped(int code) {
    if (code == 13)
        TransmitTyped(QByteArrayLiteral("\r\n"));
    else
        TransmitTyped(QByteArray(1, char(code & 0xFF)));
}

void SensorLink::TransmitTyped(const QByteArray& bytes) {
    if (refusedWhileHeld())
        return;
    Sax.Transmit(bytes);
    reportIfClosed();
}

// A closed port sends nothing; its own report says so.
void SensorLink::reportIfClosed() {
    if (!Sax.IsOpen())
        m_status.SetPanelText(1, Sax.StatusText());
}

void SensorLink::Timer1_Timer(CTimer& Timer1) {
    Sax.setBreakState(!Sax.BreakState());
    if (!Sax.BreakState())
        Timer1.setEnabled(false);
}

bool SensorLink::wakeUpInUse() const {
    return Val::LeadingNumber(m_controls.txtWakeUp->text()) > 0;
}

TickInput SensorLink::tickInput() const {
    const QByteArray waiting = Sax.PeekWaiting();
    TickInput input;
    input.WaitingCount = waiting.size();
    input.WaitingEndsWithLineEnd = waiting.endsWith("\r\n");
    input.NowSeconds = m_clock.MonotonicSeconds();
    input.NowTick = m_clock.TickMs();
    input.WakeUpInUse = wakeUpInUse();
    return input;
}

void SensorLink::tmrRcv_Timer() {
    const TickResult result = Reception::Tick(m_state, tickInput());
    switch (result.Outcome) {
    case TickOutcome::TimedOut:
        timeOut(result.Exchange);
        break;
    case TickOutcome::Completed:
        complete(result, true);
        break;
    case TickOutcome::Idle:
    case TickOutcome::Receiving:
        break;
    }
    scheduleTicks();
}

void SensorLink::Sax_BytesReceived() {
    tmrRcv_Timer();
    if (Reception::NeedsTicks(m_state, Sax.WaitingCount()))
        m_controls.tmrRcv->setEnabled(true); // restarts the period from now
}

void SensorLink::scheduleTicks() {
    CTimer& tmrRcv = *m_controls.tmrRcv;
    const bool needed = Reception::NeedsTicks(m_state, Sax.WaitingCount());
    if (needed != tmrRcv.Enabled())
        tmrRcv.setEnabled(needed);
}

void SensorLink::completeWaiting() {
    TickInput input = tickInput();
    while (input.WaitingCount > 0) {
        complete(Reception::CompleteWaiting(m_state, input), false);
        input = tickInput();
    }
}

void SensorLink::interruptExchangeInFlight() {
    const ExchangeId interrupted = Reception::Restart(m_state);
    if (interrupted != NoExchange)
        emit ExchangeEnded(interrupted, ExchangeOutcome::Interrupted, QByteArray());
}

// Opening, closing or reopening the port starts reception afresh: nothing
// said before can complete as an answer to a command in flight.
void SensorLink::Sax_StatusChanged() {
    if (Sax.IsOpen() == m_portOpen)
        return;
    m_portOpen = Sax.IsOpen();
    interruptExchangeInFlight();
    scheduleTicks();
}

void SensorLink::timeOut(ExchangeId exchange) {
    m_status.SetPanelText(1, QStringLiteral("TIMEOUT"));
    if (exchange != NoExchange)
        emit ExchangeEnded(exchange, ExchangeOutcome::TimedOut, QByteArray());
}

void SensorLink::complete(const TickResult& result, bool showRoundTrip) {
    const QByteArray answer = Sax.Read(result.Bytes);
    if (Sax.LastEventCode() == ISerialPort::ParityErrorEvent)
        showAlongside(ParityErrorReport);
    m_receivedText = (m_receivedText + QString::fromLatin1(answer)).right(ReceivedTextLimit);
    m_status.SetPanelText(2, m_receivedText);
    if (showRoundTrip)
        m_controls.lblRoundTrip->setText(
            QStringLiteral("Roundtrip delay = %1 mS").arg(result.RoundTripMs));
    const QString logFailure = m_trafficLog.Write(answer, result.GapMs);
    if (!logFailure.isEmpty())
        showAlongside(logFailure);
    if (result.Exchange != NoExchange)
        emit ExchangeEnded(result.Exchange, ExchangeOutcome::Answered, answer);
    else
        emit AnswerOutsideExchange(answer);
}

void SensorLink::showAlongside(const QString& report) {
    const QString shown = m_status.PanelText(1);
    if (shown.isEmpty())
        m_status.SetPanelText(1, report);
    else if (!shown.split(ReportSeparator).contains(report))
        m_status.SetPanelText(1, shown + ReportSeparator + report);
}

void SensorLink::Sax_LineEvent() {
    if (Sax.LastEventCode() == ISerialPort::ParityErrorEvent)
        showAlongside(ParityErrorReport);
}
