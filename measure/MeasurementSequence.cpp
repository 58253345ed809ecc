#include "measure/MeasurementSequence.h"

#include <QCoreApplication>

namespace {
QString tr(const char* text) {
    return QCoreApplication::translate("MeasurementSequence", text);
}
} // namespace

MeasurementSequence::MeasurementSequence(QChar address, const MeasurementMethod& method,
                                         const RetrySettings& retries)
    : m_address(address), m_method(method), m_retrySettings(retries) {}

MeasurementStep MeasurementSequence::Begin() {
    m_phase = Phase::Starting;
    return send(m_method.StartCommand(m_address));
}

MeasurementStep MeasurementSequence::ExchangeEnded(ExchangeOutcome outcome,
                                                   const QByteArray& answer, bool lineErrors) {
    if (m_phase != Phase::Starting && m_phase != Phase::Fetching)
        return MeasurementStep::carryOn();
    switch (outcome) {
    case ExchangeOutcome::TimedOut:
        return retryOrFail(RetryRule::Failure::NoAnswer, tr("no answer to %1").arg(m_command));
    case ExchangeOutcome::Interrupted:
        return fail(
            tr("%1 was cut short: the port was closed or another command went out").arg(m_command));
    case ExchangeOutcome::Answered:
        break;
    }
    // The terminal's own rule takes what reads well despite a parity
    // error; a recorder's asks again.
    if (lineErrors && m_retrySettings.Enabled)
        return retryOrFail(RetryRule::Failure::Invalid,
                           tr("%1: the answer came with parity or framing errors").arg(m_command));
    if (m_phase == Phase::Fetching || m_method.AnswersWithValues())
        return valuesAnswered(answer);
    return promiseAnswered(answer);
}

MeasurementStep MeasurementSequence::NotSent(const QString& reason) {
    if (reason.isEmpty())
        return fail(tr("%1 could not be sent").arg(m_command));
    return fail(tr("%1 could not be sent: %2").arg(m_command, reason));
}

MeasurementStep MeasurementSequence::LineReceived(const QByteArray& line) {
    if (m_phase == Phase::Waiting && m_method.MaySendServiceRequest() &&
        MeasurementAnswers::IsServiceRequest(line, m_address))
        return fetchData(0);
    return MeasurementStep::carryOn();
}

MeasurementStep MeasurementSequence::WaitElapsed() {
    if (m_phase != Phase::Waiting)
        return MeasurementStep::carryOn();
    return fetchData(0);
}

MeasurementStep MeasurementSequence::PortChanged() {
    if (m_phase != Phase::Waiting)
        return MeasurementStep::carryOn();
    return fail(tr("the port was lost while the sensor measured"));
}

MeasurementStep MeasurementSequence::Stop() {
    if (m_phase == Phase::Over)
        return MeasurementStep::carryOn();
    return fail(MeasurementOutcome::StoppedFault);
}

MeasurementStep MeasurementSequence::promiseAnswered(const QByteArray& answer) {
    const AnswerReading<MeasurementPromise> promise =
        MeasurementAnswers::ReadPromise(answer, m_address, m_method.CountDigits());
    if (!promise.IsSound())
        return retryOrFail(RetryRule::Failure::Invalid,
                           m_command + QStringLiteral(": ") + promise.Fault);
    m_outcome.Promised = promise.Content.Count;
    if (m_outcome.Promised == 0)
        return fail(tr("the sensor promised no values"));
    const bool serviceRequestCame = answer.count("\r\n") > 1;
    if (promise.Content.Seconds == 0 || serviceRequestCame)
        return fetchData(0);
    m_phase = Phase::Waiting;
    return MeasurementStep::wait(promise.Content.Seconds * 1000);
}

MeasurementStep MeasurementSequence::valuesAnswered(const QByteArray& answer) {
    const AnswerReading<QList<MeasuredValue>> values =
        MeasurementAnswers::ReadValues(answer, m_address, m_method.WithCrc);
    if (!values.IsSound()) {
        // The sensor keeps its data until the next measurement, so a data
        // answer whose CRC failed may be asked for again as it is.
        const bool dataCrc = values.CrcMismatch && m_phase == Phase::Fetching;
        return retryOrFail(dataCrc ? RetryRule::Failure::CrcFailed : RetryRule::Failure::Invalid,
                           m_command + QStringLiteral(": ") + values.Fault);
    }
    m_outcome.Values += values.Content;
    if (m_method.AnswersWithValues()) {
        m_outcome.Promised = m_outcome.Values.size();
        return m_outcome.Values.isEmpty() ? fail(tr("%1 gave no values").arg(m_command)) : finish();
    }
    const int came = m_outcome.Values.size();
    if (came > m_outcome.Promised)
        return fail(tr("%1 values promised, %2 came: more than promised")
                        .arg(m_outcome.Promised)
                        .arg(came));
    if (came == m_outcome.Promised)
        return finish();
    // A data answer with nothing new means the sensor has no more to give.
    if (values.Content.isEmpty() || m_dataIndex == LastDataCommand)
        return fail(tr("%1 values promised, %2 came").arg(m_outcome.Promised).arg(came));
    return fetchData(m_dataIndex + 1);
}

MeasurementStep MeasurementSequence::fetchData(int index) {
    m_phase = Phase::Fetching;
    m_dataIndex = index;
    return send(m_address + QStringLiteral("D%1!").arg(index));
}

MeasurementStep MeasurementSequence::send(const QString& command) {
    m_command = command;
    m_tries = RetryRule(m_retrySettings);
    return MeasurementStep::send(command, m_tries.firstTry());
}

MeasurementStep MeasurementSequence::retryOrFail(RetryRule::Failure failure, const QString& fault) {
    const std::optional<SendOptions> next = m_tries.nextTry(failure);
    if (!next)
        return fail(fault);
    ++m_outcome.Retries;
    return MeasurementStep::send(m_command, *next);
}

MeasurementStep MeasurementSequence::fail(const QString& fault) {
    m_outcome.Fault = fault;
    return finish();
}

MeasurementStep MeasurementSequence::finish() {
    m_phase = Phase::Over;
    return MeasurementStep::finish();
}
