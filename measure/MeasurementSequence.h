#pragma once

#include "link/Exchange.h"
#include "measure/MeasurementAnswers.h"
#include "measure/MeasurementMethod.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What the sequence asks of whoever drives it next.
struct MeasurementStep {
    enum class Kind {
        Send,    // send Command and report its exchange's end
        Wait,    // wait WaitMs (a service request may end the wait sooner)
        Finish,  // the measurement is over; its outcome is final
        CarryOn, // nothing new: go on with the step under way
    };
    Kind What = Kind::Finish;
    QString Command;
    int WaitMs = 0;
};

// How a measurement ended: the values that came and, when it failed, why.
// A measurement with a fault is never complete, whatever values it holds.
struct MeasurementOutcome {
    QList<MeasuredValue> Values;
    int Promised = 0;
    QString Fault;

    // The operator stopped it.
    static inline const QString StoppedFault = QStringLiteral("Stopped");

    bool IsComplete() const { return Fault.isEmpty(); }
    bool Stopped() const { return Fault == StoppedFault; }
};

// One SDI-12 measurement from its start command to its last value, as plain
// decisions: the start answer's promise, the wait for the data (ended early
// by a service request where the method allows one), the data commands
// aD0!, aD1! ... until every promised value came, each answer checked for
// its form, its address and, where asked for, its CRC. The driver sends,
// waits and reports; the sequence never touches the line or a timer.
class MeasurementSequence {
public:
    // The data commands go as far as aD9!.
    static constexpr int LastDataCommand = 9;

    MeasurementSequence(QChar address, const MeasurementMethod& method);

    MeasurementStep Begin();
    // The exchange of the last Send ended.
    MeasurementStep ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer);
    // The last Send could not go on the line, for `reason`.
    MeasurementStep NotSent(const QString& reason);
    // A line came from the bus with no exchange in flight: perhaps the
    // service request.
    MeasurementStep LineReceived(const QByteArray& line);
    MeasurementStep WaitElapsed();
    // The port closed or opened: while the sensor measures, that fails the
    // measurement (the exchange in flight, if any, ends on its own).
    MeasurementStep PortChanged();
    MeasurementStep Stop();

    bool IsOver() const { return m_phase == Phase::Over; }
    const MeasurementOutcome& Outcome() const { return m_outcome; }

private:
    enum class Phase { NotStarted, Starting, Waiting, Fetching, Over };

    MeasurementStep promiseAnswered(const QByteArray& answer);
    MeasurementStep valuesAnswered(const QByteArray& answer);
    MeasurementStep fetchData(int index);
    MeasurementStep send(const QString& command);
    MeasurementStep fail(const QString& fault);
    MeasurementStep finish();
    static MeasurementStep carryOn() { return {MeasurementStep::Kind::CarryOn, QString(), 0}; }

    QChar m_address;
    MeasurementMethod m_method;
    Phase m_phase = Phase::NotStarted;
    QString m_command; // the command of the exchange in flight
    int m_dataIndex = 0;
    MeasurementOutcome m_outcome;
};
