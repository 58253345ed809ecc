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
#include <QPushButton>

namespace {
constexpr int BreakMs = 50;
constexpr int MarkAfterBreakMs = 20;
} // namespace

SensorLink::SensorLink(ISerialPort& sax, IClock& clock, IStatusPanels& status,
                       TrafficLog& trafficLog, const LinkControls& controls, QObject* parent)
    : QObject(parent), Sax(sax), m_clock(clock), m_status(status), m_trafficLog(trafficLog),
      m_controls(controls) {}

void SensorLink::setOutcomeHandlers(std::function<void(const QString&)> markResult,
                                    std::function<void()> batchStep) {
    m_markResult = std::move(markResult);
    m_batchStep = std::move(batchStep);
}

bool SensorLink::SendCommand(const QString& command) {
    const std::optional<QByteArray> wire = Transmission::ToWire(command);
    if (!wire) {
        m_status.SetPanelText(
            1, tr("Not sent: the command holds characters that cannot go on the serial line"));
        return false;
    }
    const Transmission::WakeUp wakeUp = Transmission::WakeUpFor(m_controls.txtWakeUp->text());
    if (wakeUp.TooMany()) {
        m_status.SetPanelText(1, tr("Not sent: %1 wake-up characters are more than the %2 "
                                    "this terminal sends")
                                     .arg(wakeUp.Count)
                                     .arg(Transmission::MaxWakeUpCharacters));
        return false;
    }

    if (wakeUp.UseBreak)
        SendBreak();
    else
        SendWakeUp(wakeUp.Count);
    m_status.SetPanelText(2, QString());
    m_lastCommand = command;
    Sax.Transmit(*wire);
    m_status.SetPanelText(1, QString());
    reportIfClosed();
    armRepetition();
    m_state.SendTime = m_clock.MonotonicSeconds();
    return true;
}

void SensorLink::SendBreak() {
    if (!Sax.IsOpen()) {
        Sax.setPortName(m_controls.cboLines->currentText());
        Sax.setIsOpen(true);
        m_status.SetPanelText(1, Sax.StatusText());
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

// Repetition starts when both the repeat count and the delay are above 0;
// setting the interval restarts the count, so the first repeat comes one
// delay after this send.
void SensorLink::armRepetition() {
    const double count = Val::LeadingNumber(m_controls.txtRepeatCmd->text());
    const double delay = Val::LeadingNumber(m_controls.txtRepeatDelay->text());
    if (count <= 0 || delay <= 0)
        return;
    m_controls.tmrRepeatCmd->setInterval(Val::RoundToInt32(delay));
    m_controls.cmdQuery->setEnabled(false);
    m_controls.cmdSend->setEnabled(false);
    m_controls.cmdID->setEnabled(false);
    m_controls.tmrRepeatCmd->setEnabled(true);
}

void SensorLink::Sax_KeyTyped(int code) {
    if (code == 13)
        TransmitTyped(QByteArrayLiteral("\r\n"));
    else
        TransmitTyped(QByteArray(1, char(code & 0xFF)));
}

void SensorLink::TransmitTyped(const QByteArray& bytes) {
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

void SensorLink::tmrRcv_Timer() {
    TickInput input;
    input.WaitingCount = Sax.WaitingCount();
    input.NowSeconds = m_clock.MonotonicSeconds();
    input.NowTick = m_clock.TickMs();
    input.WakeUpInUse = wakeUpInUse();
    CompletionFigures figures;
    switch (Reception::Tick(m_state, input, &figures)) {
    case TickOutcome::TimedOut:
        timeOut();
        break;
    case TickOutcome::Completed:
        complete(figures);
        break;
    case TickOutcome::Idle:
    case TickOutcome::Receiving:
        break;
    }
}

void SensorLink::Sax_BytesReceived() {
    tmrRcv_Timer();
    CTimer& tmrRcv = *m_controls.tmrRcv;
    tmrRcv.setEnabled(tmrRcv.Enabled());
}

void SensorLink::timeOut() {
    m_status.SetPanelText(1, QStringLiteral("TIMEOUT"));
    if (m_markResult)
        m_markResult(QStringLiteral("TIMEOUT"));
    if (m_batchStep)
        m_batchStep();
}

void SensorLink::complete(const CompletionFigures& figures) {
    const QByteArray response = Sax.ReadAll();
    if (m_markResult)
        m_markResult(QStringLiteral("OK"));
    if (Sax.LastEventCode() == ISerialPort::ParityErrorEvent)
        m_status.SetPanelText(1, QStringLiteral("PARITY ERROR"));
    m_status.SetPanelText(2, m_status.PanelText(2) + QString::fromLatin1(response));
    m_controls.lblRoundTrip->setText(
        QStringLiteral("Roundtrip delay = %1 mS").arg(figures.RoundTripMs));
    const QString logFailure = m_trafficLog.Write(response, figures.GapMs);
    if (!logFailure.isEmpty())
        m_status.SetPanelText(1, logFailure);
    if (m_batchStep)
        m_batchStep();
}

void SensorLink::Sax_LineEvent() {
    if (Sax.LastEventCode() == ISerialPort::ParityErrorEvent)
        m_status.SetPanelText(1, QStringLiteral("PARITY ERROR"));
}
