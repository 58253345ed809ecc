#include "measure/ui/MeasurementRunner.h"

#include "link/ui/SensorLink.h"
#include "platform/Clock.h"
#include "platform/StatusPanels.h"
#include "timer/CTimer.h"

MeasurementRunner::MeasurementRunner(SensorLink& link, IClock& clock, IStatusPanels& status,
                                     QObject* parent)
    : QObject(parent), m_link(link), m_clock(clock), m_status(status), m_tmrWait(new CTimer(this)),
      m_tmrCycle(new CTimer(this)) {
    connect(&m_link, &SensorLink::ExchangeEnded, this, &MeasurementRunner::Link_ExchangeEnded);
    connect(&m_link, &SensorLink::AnswerOutsideExchange, this,
            &MeasurementRunner::Link_AnswerOutsideExchange);
    connect(m_tmrWait, &CTimer::Timer, this, &MeasurementRunner::tmrWait_Timer);
    connect(m_tmrCycle, &CTimer::Timer, this, &MeasurementRunner::tmrCycle_Timer);
}

void MeasurementRunner::Start(QChar address, const MeasurementMethod& method, int repeatSeconds) {
    if (m_running)
        return;
    m_address = address;
    m_method = method;
    m_repeatSeconds = qMax(0, repeatSeconds);
    setRunning(true);
    beginCycle();
}

void MeasurementRunner::Stop() {
    m_tmrCycle->setEnabled(false);
    m_repeatSeconds = 0;
    if (m_sequence)
        perform(m_sequence->Stop());
    else
        setRunning(false);
}

void MeasurementRunner::beginCycle() {
    m_cycleStartTick = m_clock.TickMs();
    m_sequence.emplace(m_address, m_method);
    m_record = MeasurementRecord{m_clock.LocalNow(), m_method.StartCommand(m_address), {}};
    m_link.Hold(tr("a measurement is running on the Measure tab; press Stop to end it"));
    perform(m_sequence->Begin());
}

void MeasurementRunner::perform(const MeasurementStep& step) {
    switch (step.What) {
    case MeasurementStep::Kind::Send: {
        const SendOutcome sent = m_link.SendHeldCommand(step.Command);
        if (sent.IsSent())
            m_exchange = sent.Exchange;
        else // the link said why in status panel 1
            perform(m_sequence->NotSent(m_status.PanelText(1)));
        break;
    }
    case MeasurementStep::Kind::Wait:
        m_exchange = NoExchange;
        m_tmrWait->setInterval(qMax(1, step.WaitMs));
        m_tmrWait->setEnabled(true);
        break;
    case MeasurementStep::Kind::Finish:
        finishMeasurement();
        break;
    case MeasurementStep::Kind::CarryOn:
        break;
    }
}

void MeasurementRunner::finishMeasurement() {
    m_tmrWait->setEnabled(false);
    m_exchange = NoExchange;
    m_link.Release();
    m_record.Outcome = m_sequence->Outcome();
    m_sequence.reset();
    if (!m_record.Outcome.IsComplete())
        m_status.SetPanelText(1, tr("Measurement failed: %1").arg(m_record.Outcome.Fault));
    emit MeasurementEnded(m_record);

    if (m_repeatSeconds <= 0) {
        setRunning(false);
        return;
    }
    // The next measurement starts a period after this one started, or at
    // once when this one took longer than the period.
    const qint64 due = m_cycleStartTick + qint64(m_repeatSeconds) * 1000 - m_clock.TickMs();
    m_tmrCycle->setInterval(int(qBound<qint64>(1, due, qint64(m_repeatSeconds) * 1000)));
    m_tmrCycle->setEnabled(true);
}

void MeasurementRunner::setRunning(bool running) {
    if (running == m_running)
        return;
    m_running = running;
    emit RunningChanged(running);
}

void MeasurementRunner::Link_ExchangeEnded(ExchangeId exchange, ExchangeOutcome outcome,
                                           const QByteArray& answer) {
    if (!m_sequence || exchange == NoExchange || exchange != m_exchange)
        return;
    m_exchange = NoExchange;
    perform(m_sequence->ExchangeEnded(outcome, answer));
}

void MeasurementRunner::Link_AnswerOutsideExchange(const QByteArray& answer) {
    if (!m_sequence)
        return;
    const MeasurementStep step = m_sequence->LineReceived(answer);
    if (step.What != MeasurementStep::Kind::CarryOn)
        m_tmrWait->setEnabled(false);
    perform(step);
}

void MeasurementRunner::tmrWait_Timer() {
    m_tmrWait->setEnabled(false);
    if (m_sequence)
        perform(m_sequence->WaitElapsed());
}

void MeasurementRunner::tmrCycle_Timer() {
    m_tmrCycle->setEnabled(false);
    if (m_running)
        beginCycle();
}
