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

void MeasurementRunner::start(const QList<QChar>& addresses, const MeasurementMethod& method,
                              int repeatSeconds) {
    if (m_running || addresses.isEmpty())
        return;
    m_addresses = addresses;
    m_method = method;
    m_overruns = 0;
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
    m_cycle.emplace(m_addresses, m_method, m_retries);
    m_conversation->run(*m_cycle,
                        tr("a measurement is running on the Measure tab; press Stop to end it"));
}

void MeasurementRunner::conversation_started() {
    m_cycleTime = m_clock.LocalNow();
}

void MeasurementRunner::conversation_finished() {
    if (!m_cycle->IsOver()) { // stopped while it waited for the line
        m_cycle.reset();
        setRunning(false);
        return;
    }
    const QList<MeasurementOutcome> outcomes = m_cycle->Outcomes();
    m_cycle.reset();
    QStringList failures;
    for (int sensor = 0; sensor < outcomes.size(); ++sensor) {
        const QChar address = m_addresses.at(sensor);
        const MeasurementRecord record{m_cycleTime, m_method.StartCommand(address),
                                       outcomes.at(sensor), address, m_method};
        if (!record.Outcome.IsComplete() && !record.Outcome.Stopped())
            failures << record.Outcome.Fault;
        emit measurementEnded(record);
    }
    if (!outcomes.isEmpty() && outcomes.first().Stopped())
        emit report(outcomes.first().Fault);
    else if (!failures.isEmpty())
        emit report(tr("Measurement failed: %1").arg(failures.join(QStringLiteral("; "))));

    if (m_repeatSeconds <= 0) {
        setRunning(false);
        return;
    }
    scheduleNextCycle();
}

// The next cycle starts a period after this one started, or at once when
// this one took longer than the period.
void MeasurementRunner::scheduleNextCycle() {
    const qint64 period = qint64(m_repeatSeconds) * 1000;
    const qint64 due = m_cycleStartTick + period - m_clock.TickMs();
    if (due <= 0)
        emit overrunsChanged(++m_overruns);
    m_tmrCycle->setInterval(int(qBound<qint64>(1, due, period)));
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
