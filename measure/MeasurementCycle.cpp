#include "measure/MeasurementCycle.h"

#include <algorithm>

MeasurementCycle::MeasurementCycle(const QList<QChar>& addresses, const MeasurementMethod& method,
                                   const RetrySettings& retries)
    : m_addresses(addresses), m_method(method) {
    for (const QChar address : addresses)
        m_sequences.emplace_back(address, method, retries);
    m_held.resize(m_sequences.size());
}

QList<MeasurementOutcome> MeasurementCycle::Outcomes() const {
    QList<MeasurementOutcome> outcomes;
    for (const MeasurementSequence& sequence : m_sequences)
        outcomes.append(sequence.Outcome());
    return outcomes;
}

ConversationStep MeasurementCycle::Begin() {
    m_phase = concurrent() ? Phase::Starting : Phase::InTurn;
    return concurrent() ? startNext() : measureNext();
}

ConversationStep MeasurementCycle::startNext() {
    if (++m_current < int(m_sequences.size()))
        return follow(current().Begin());
    m_phase = Phase::Waiting;
    m_current = -1;
    return ConversationStep::wait(m_longestWaitMs);
}

ConversationStep MeasurementCycle::collectNext() {
    m_phase = Phase::Collecting;
    while (++m_current < int(m_sequences.size())) {
        const ConversationStep held = m_held[size_t(m_current)];
        if (held.What == ConversationStep::Kind::Send)
            return held;
        if (held.What == ConversationStep::Kind::Wait)
            return follow(current().WaitElapsed());
    }
    m_phase = Phase::Over;
    return ConversationStep::finish();
}

ConversationStep MeasurementCycle::measureNext() {
    if (++m_current < int(m_sequences.size()))
        return follow(current().Begin());
    m_phase = Phase::Over;
    return ConversationStep::finish();
}

ConversationStep MeasurementCycle::follow(const ConversationStep& step) {
    if (step.What == ConversationStep::Kind::CarryOn || m_phase == Phase::Over)
        return step;
    if (step.What == ConversationStep::Kind::Finish) // this sensor is done
        return m_phase == Phase::InTurn     ? measureNext()
               : m_phase == Phase::Starting ? startNext()
                                            : collectNext();
    const bool startCommand =
        step.What == ConversationStep::Kind::Send && current().AwaitsPromise();
    if (m_phase != Phase::Starting || startCommand)
        return step;
    // A concurrent start was answered: hold what comes next until the
    // collecting, and start the next sensor.
    m_held[size_t(m_current)] = step;
    if (step.What == ConversationStep::Kind::Wait)
        m_longestWaitMs = std::max(m_longestWaitMs, step.WaitMs);
    return startNext();
}

ConversationStep MeasurementCycle::ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                                 bool lineErrors) {
    if (m_current < 0 || m_phase == Phase::Over || m_phase == Phase::Waiting)
        return ConversationStep::carryOn();
    return follow(current().ExchangeEnded(outcome, answer, lineErrors));
}

ConversationStep MeasurementCycle::NotSent(const QString& reason) {
    if (m_current < 0 || m_phase == Phase::Over || m_phase == Phase::Waiting)
        return ConversationStep::carryOn();
    return follow(current().NotSent(reason));
}

ConversationStep MeasurementCycle::LineReceived(const QByteArray& line) {
    if (m_phase != Phase::InTurn || m_current < 0)
        return ConversationStep::carryOn();
    return follow(current().LineReceived(line));
}

ConversationStep MeasurementCycle::WaitElapsed() {
    if (m_phase == Phase::Waiting)
        return collectNext();
    if (m_phase != Phase::InTurn || m_current < 0)
        return ConversationStep::carryOn();
    return follow(current().WaitElapsed());
}

// Every sensor that was measuring while the port changed has failed; the
// cycle goes on with the others.
ConversationStep MeasurementCycle::PortChanged() {
    if (m_phase == Phase::Over || m_phase == Phase::NotStarted)
        return ConversationStep::carryOn();
    if (m_phase == Phase::Waiting || m_phase == Phase::Starting) {
        for (size_t sensor = 0; sensor < m_sequences.size(); ++sensor) {
            if (m_held[sensor].What == ConversationStep::Kind::Wait &&
                m_sequences[sensor].PortChanged().What == ConversationStep::Kind::Finish)
                m_held[sensor] = ConversationStep::finish();
        }
        return m_phase == Phase::Waiting ? collectNext() : ConversationStep::carryOn();
    }
    return follow(current().PortChanged());
}

ConversationStep MeasurementCycle::Stop() {
    if (m_phase == Phase::Over)
        return ConversationStep::carryOn();
    for (MeasurementSequence& sequence : m_sequences)
        sequence.Stop();
    m_phase = Phase::Over;
    return ConversationStep::finish();
}
