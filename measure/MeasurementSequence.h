#pragma once

#include "link/Conversation.h"
#include "measure/MeasurementAnswers.h"
#include "measure/MeasurementMethod.h"
#include "measure/RetryRule.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What the sequence asks of whoever drives it next. A wait may end sooner
// with the service request.
using MeasurementStep = ConversationStep;

// How a measurement ended: the values that came and, when it failed, why.
// A measurement with a fault is never complete, whatever values it holds.
struct MeasurementOutcome {
    QList<MeasuredValue> Values;
    int Promised = 0;
    QString Fault;
    // Commands sent again because their answer was missing or unusable.
    int Retries = 0;

    // The operator stopped it.
    static inline const QString StoppedFault = QStringLiteral("Stopped");

    bool IsComplete() const { return Fault.isEmpty(); }
    bool Stopped() const { return Fault == StoppedFault; }
};

// One SDI-12 measurement from its start command to its last value, as plain
// decisions: the start answer's promise, the wait for the data (ended early
// by a service request where the method allows one), the data commands
// aD0!, aD1! ... until every promised value came, each answer checked for
// its form, its address and, where asked for, its CRC. A command whose
// answer is missing or unusable is tried again by the retry rule, when the
// recorders' retries are on. The driver sends, waits and reports; the
// sequence never touches the line or a timer.
class MeasurementSequence : public ConversationSteps {
public:
    // The data commands go as far as aD9!.
    static constexpr int LastDataCommand = 9;

    MeasurementSequence(QChar address, const MeasurementMethod& method,
                        const RetrySettings& retries = {});

    MeasurementStep Begin() override;
    MeasurementStep ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                  bool lineErrors = false) override;
    MeasurementStep NotSent(const QString& reason) override;
    // Perhaps the service request.
    MeasurementStep LineReceived(const QByteArray& line) override;
    MeasurementStep WaitElapsed() override;
    // While the sensor measures, a port that closed or opened fails the
    // measurement (an exchange in flight ends on its own).
    MeasurementStep PortChanged() override;
    MeasurementStep Stop() override;

    bool IsOver() const { return m_phase == Phase::Over; }
    // The start command is out, or about to go; its promise has not come.
    bool AwaitsPromise() const { return m_phase == Phase::Starting; }
    const MeasurementOutcome& Outcome() const { return m_outcome; }

private:
    enum class Phase { NotStarted, Starting, Waiting, Fetching, Over };

    MeasurementStep promiseAnswered(const QByteArray& answer);
    MeasurementStep valuesAnswered(const QByteArray& answer);
    MeasurementStep fetchData(int index);
    MeasurementStep send(const QString& command);
    // The command again, as the retry rule has it, or the fault when its
    // tries are spent.
    MeasurementStep retryOrFail(RetryRule::Failure failure, const QString& fault);
    MeasurementStep fail(const QString& fault);
    MeasurementStep finish();

    QChar m_address;
    MeasurementMethod m_method;
    RetrySettings m_retrySettings;
    Phase m_phase = Phase::NotStarted;
    QString m_command; // the command of the exchange in flight
    RetryRule m_tries; // of m_command
    int m_dataIndex = 0;
    MeasurementOutcome m_outcome;
};
