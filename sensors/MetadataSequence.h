#pragma once

#include "link/Conversation.h"
#include "measure/MeasurementMethod.h"
#include "measure/RetryRule.h"
#include "sensors/ParameterAnswer.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What a sensor told of a method's values.
struct MethodMetadata {
    // One for each value, in the order the sensor sends them; fewer than
    // promised when the sensor stopped describing them early.
    QList<ParameterInfo> Parameters;
    int Promised = -1; // -1: unknown (the continuous methods promise nothing)
    QString Fault;     // empty when the reading ended well

    bool IsComplete() const { return Fault.isEmpty(); }
};

// Reads the names and units of a method's values, as plain decisions: the
// identify-measurement command ("aIM!") for how many values it gives, then
// "aIM_001!", "aIM_002!" ... up to that many, each answer checked for its
// form, its address and, for the CRC forms, its CRC. The continuous methods
// have no identify-measurement command: their parameters are asked for
// until the sensor answers with its address alone. Every command goes by
// the retry rule; each command that follows a sensor's answer goes without
// a break, as the sensor is still awake.
class MetadataSequence : public ConversationSteps {
public:
    // Where parameters are asked for with no promised count.
    static constexpr int MostUnpromised = 99;

    MetadataSequence(QChar address, const MeasurementMethod& method, const RetrySettings& retries);

    ConversationStep Begin() override;
    ConversationStep ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                   bool lineErrors = false) override;
    ConversationStep NotSent(const QString& reason) override;
    ConversationStep LineReceived(const QByteArray& line) override;
    ConversationStep WaitElapsed() override;
    ConversationStep PortChanged() override;
    ConversationStep Stop() override;

    bool isOver() const { return m_phase == Phase::Over; }
    const MethodMetadata& metadata() const { return m_metadata; }

private:
    enum class Phase { NotStarted, Counting, Describing, Over };

    ConversationStep countAnswered(const QByteArray& answer);
    ConversationStep parameterAnswered(const QByteArray& answer);
    ConversationStep describe(int number);
    // awake: the sensor has just answered the command before.
    ConversationStep send(const QString& command, bool awake);
    ConversationStep retryOrFail(RetryRule::Failure failure, const QString& fault);
    ConversationStep fail(const QString& fault);
    ConversationStep finish();

    QChar m_address;
    MeasurementMethod m_method;
    RetrySettings m_retrySettings;
    Phase m_phase = Phase::NotStarted;
    QString m_command;
    RetryRule m_tries;
    int m_number = 0; // of the parameter asked for
    MethodMetadata m_metadata;
};
