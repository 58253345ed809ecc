#include "measure/MeasurementRunner.h"

#include "link/ConversationRunner.h"
#include "platform/Clock.h"
#include "timer/CTimer.h"

MeasurementRunner::MeasurementRunner(ExchangeLink& link, IClock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_conversation(new ConversationRunner(link, this)),
      m_tmrCycle(new CTimer(this)) {
    connect(m_conversation, &ConversationRunner::started, this,
            &MeasurementRunner::conversation_started);
    connect(m_conversation, &ConversationRunner::finished, this,
            &MeasurementRunner::conversation_finished);
    connect(m_tmrCycle, &CTimer::Timer, this, &MeasurementRunner::tmrCycle_Timer);
}

CTimer& MeasurementRunner::waitTimer() {
    return m_conversation->waitTimer();
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
    if (m_conversation->isRunning())
        m_conversation->stop();
    else
        setRunning(false);
}

// The cycle's time counts from here, even when the line is busy a moment.
void MeasurementRunner::beginCycle() {
    m_cycleStartTick = m_clock.TickMs();
    m_sequence.emplace(m_address, m_method);
    m_conversation->run(*m_sequence,
                        tr("a measurement is running on the Measure tab; press Stop to end it"));
}

void MeasurementRunner::conversation_started() {
    m_record = MeasurementRecord{m_clock.LocalNow(), m_method.StartCommand(m_address), {}};
}

void MeasurementRunner::conversation_finished() {
    if (!m_sequence->IsOver()) { // stopped while it waited for the line
        m_sequence.reset();
        setRunning(false);
        return;
    }
    m_record.Outcome = m_sequence->Outcome();
    m_sequence.reset();
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

void MeasurementRunner::tmrCycle_Timer() {
    m_tmrCycle->setEnabled(false);
    if (m_running)
        beginCycle();
}
