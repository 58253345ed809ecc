#include "measure/MeasurementRunner.h"

#include "link/ExchangeLink.h"
#include "platform/Clock.h"
#include "timer/CTimer.h"

MeasurementRunner::MeasurementRunner(ExchangeLink& link, IClock& clock, QObject* parent)
    : QObject(parent), m_link(link), m_clock(clock), m_tmrWait(new CTimer(this)),
      m_tmrCycle(new CTimer(this)) {
    connect(&m_link, &ExchangeLink::exchangeEnded, this, &MeasurementRunner::link_exchangeEnded);
    connect(&m_link, &ExchangeLink::answerCompleted, this,
            &MeasurementRunner::link_answerCompleted);
    connect(&m_link, &ExchangeLink::portOpenChanged, this,
            &MeasurementRunner::link_portOpenChanged);
    connect(m_tmrWait, &CTimer::Timer, this, &MeasurementRunner::tmrWait_Timer);
    connect(m_tmrCycle, &CTimer::Timer, this, &MeasurementRunner::tmrCycle_Timer);
}

void MeasurementRunner::start(QChar address, const MeasurementMethod& method, int repeatSeconds) {
    if (m_running)
        return;
    m_address = address;
    m_method = method;
    m_repeatSeconds = qMax(0, repeatSeconds);
    setRunning(true);
    beginCycle();
}

void MeasurementRunner::stop() {
    m_tmrCycle->setEnabled(false);
    m_repeatSeconds = 0;
    if (m_sequence) {
        perform(m_sequence->Stop());
        return;
    }
    if (m_turn != NoTurn) {
        m_link.endTurn(m_turn); // a cycle that still waited for the line
        m_turn = NoTurn;
    }
    setRunning(false);
}

// The cycle's time counts from here, even when the line is busy a moment.
void MeasurementRunner::beginCycle() {
    m_cycleStartTick = m_clock.TickMs();
    m_turn =
        m_link.requestTurn(TurnKind::Conversation, this,
                           tr("a measurement is running on the Measure tab; press Stop to end it"),
                           [this](TurnId turn) { runCycle(turn); });
}

void MeasurementRunner::runCycle(TurnId turn) {
    m_turn = turn;
    m_sequence.emplace(m_address, m_method);
    m_record = MeasurementRecord{m_clock.LocalNow(), m_method.StartCommand(m_address), {}};
    perform(m_sequence->Begin());
}

void MeasurementRunner::perform(const MeasurementStep& step) {
    switch (step.What) {
    case MeasurementStep::Kind::Send: {
        // Each command of a measurement is timed from its own send.
        m_link.startRoundTrip();
        const SendOutcome sent = m_link.sendInTurn(m_turn, step.Command);
        if (sent.IsSent())
            m_exchange = sent.Exchange;
        else
            perform(m_sequence->NotSent(sent.Reason));
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
    m_record.Outcome = m_sequence->Outcome();
    m_sequence.reset();
    const TurnId finished = m_turn;
    m_turn = NoTurn;
    m_link.endTurn(finished);
    if (m_record.Outcome.Stopped())
        emit report(m_record.Outcome.Fault);
    else if (!m_record.Outcome.IsComplete())
        emit report(tr("Measurement failed: %1").arg(m_record.Outcome.Fault));
    emit measurementEnded(m_record);

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
    emit runningChanged(running);
}

void MeasurementRunner::link_exchangeEnded(ExchangeId exchange, ExchangeOutcome outcome,
                                           const QByteArray& answer) {
    if (!m_sequence || exchange == NoExchange || exchange != m_exchange)
        return;
    m_exchange = NoExchange;
    perform(m_sequence->ExchangeEnded(outcome, answer));
}

// An answer with no exchange in flight may be the service request.
void MeasurementRunner::link_answerCompleted(ExchangeId exchange, const QByteArray& answer) {
    if (!m_sequence || exchange != NoExchange)
        return;
    const MeasurementStep step = m_sequence->LineReceived(answer);
    if (step.What != MeasurementStep::Kind::CarryOn)
        m_tmrWait->setEnabled(false);
    perform(step);
}

// While the sensor measures, a port that closes or reopens may have lost
// the service request or the sensor's state: the data cannot be trusted.
void MeasurementRunner::link_portOpenChanged() {
    if (!m_sequence)
        return;
    const MeasurementStep step = m_sequence->PortChanged();
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
