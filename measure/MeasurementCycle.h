#pragma once

#include "link/Conversation.h"
#include "measure/MeasurementSequence.h"

#include <QList>
#include <vector>

// One cycle of measurements over several sensors, as one conversation.
// With a concurrent method (C, CC and their numbered forms) it starts the
// measurement on every sensor, waits for the longest time any promised,
// then collects the data from each; with the others it measures one sensor
// after another. Each sensor's measurement keeps its own outcome, so one
// sensor that fails does not fail the others.
class MeasurementCycle : public ConversationSteps {
public:
    MeasurementCycle(const QList<QChar>& addresses, const MeasurementMethod& method,
                     const RetrySettings& retries = {});

    ConversationStep Begin() override;
    ConversationStep ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                   bool lineErrors = false) override;
    ConversationStep NotSent(const QString& reason) override;
    ConversationStep LineReceived(const QByteArray& line) override;
    ConversationStep WaitElapsed() override;
    ConversationStep PortChanged() override;
    ConversationStep Stop() override;

    bool IsOver() const { return m_phase == Phase::Over; }
    QList<QChar> Addresses() const { return m_addresses; }
    // The outcome of each sensor's measurement, in the order of the addresses.
    QList<MeasurementOutcome> Outcomes() const;

private:
    enum class Phase {
        NotStarted,
        Starting,   // concurrent: the start commands go out one by one
        Waiting,    // concurrent: the longest promised time
        Collecting, // concurrent: the data, sensor by sensor
        InTurn,     // one sensor after another: each measured whole
        Over,
    };

    bool concurrent() const { return m_method.What == MeasurementMethod::Kind::Concurrent; }
    MeasurementSequence& current() { return m_sequences[size_t(m_current)]; }
    // What the current sensor's step means for the whole cycle.
    ConversationStep follow(const ConversationStep& step);
    ConversationStep startNext();
    ConversationStep collectNext();
    ConversationStep measureNext();

    QList<QChar> m_addresses;
    MeasurementMethod m_method;
    std::vector<MeasurementSequence> m_sequences;
    // Concurrent: what each started sensor asked for next, held until the
    // collecting: its wait, or its first data command when it promised 0 s.
    std::vector<ConversationStep> m_held;
    Phase m_phase = Phase::NotStarted;
    int m_current = -1;
    int m_longestWaitMs = 0;
};
