#include "sensors/MetadataSequence.h"

#include "measure/MeasurementAnswers.h"
#include "sensors/IdentifyCommands.h"

#include <QCoreApplication>

namespace {
QString tr(const char* text) {
    return QCoreApplication::translate("MetadataSequence", text);
}
} // namespace

MetadataSequence::MetadataSequence(QChar address, const MeasurementMethod& method,
                                   const RetrySettings& retries)
    : m_address(address), m_method(method), m_retrySettings(retries) {}

ConversationStep MetadataSequence::Begin() {
    const QString promise = IdentifyCommands::promise(m_address, m_method);
    if (promise.isEmpty())
        return describe(1);
    m_phase = Phase::Counting;
    return send(promise, false);
}

ConversationStep MetadataSequence::ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                                 bool lineErrors) {
    if (m_phase != Phase::Counting && m_phase != Phase::Describing)
        return ConversationStep::carryOn();
    switch (outcome) {
    case ExchangeOutcome::TimedOut:
        return retryOrFail(RetryRule::Failure::NoAnswer, tr("no answer to %1").arg(m_command));
    case ExchangeOutcome::Interrupted:
        return fail(
            tr("%1 was cut short: the port was closed or another command went out").arg(m_command));
    case ExchangeOutcome::Answered:
        break;
    }
    if (lineErrors)
        return retryOrFail(RetryRule::Failure::Invalid,
                           tr("%1: the answer came with parity or framing errors").arg(m_command));
    return m_phase == Phase::Counting ? countAnswered(answer) : parameterAnswered(answer);
}

ConversationStep MetadataSequence::countAnswered(const QByteArray& answer) {
    const AnswerReading<MeasurementPromise> promise =
        MeasurementAnswers::ReadPromise(answer, m_address, m_method.CountDigits());
    if (!promise.IsSound())
        return retryOrFail(RetryRule::Failure::Invalid,
                           m_command + QStringLiteral(": ") + promise.Fault);
    m_metadata.Promised = promise.Content.Count;
    return m_metadata.Promised == 0 ? finish() : describe(1);
}

ConversationStep MetadataSequence::parameterAnswered(const QByteArray& answer) {
    const AnswerReading<std::optional<ParameterInfo>> parameter =
        ParameterAnswer::read(answer, m_address, m_method.WithCrc);
    if (!parameter.IsSound())
        return retryOrFail(RetryRule::Failure::Invalid,
                           m_command + QStringLiteral(": ") + parameter.Fault);
    // The address alone: the sensor describes no more values.
    if (!parameter.Content)
        return finish();
    m_metadata.Parameters.append(*parameter.Content);
    const int last = m_metadata.Promised >= 0 ? m_metadata.Promised : MostUnpromised;
    return m_number >= last ? finish() : describe(m_number + 1);
}

// Each parameter but a continuous method's first follows the sensor's
// answer to the command before.
ConversationStep MetadataSequence::describe(int number) {
    const bool awake = m_phase == Phase::Counting || number > 1;
    m_phase = Phase::Describing;
    m_number = number;
    return send(IdentifyCommands::parameter(m_address, m_method, number), awake);
}

ConversationStep MetadataSequence::NotSent(const QString& reason) {
    if (reason.isEmpty())
        return fail(tr("%1 could not be sent").arg(m_command));
    return fail(tr("%1 could not be sent: %2").arg(m_command, reason));
}

ConversationStep MetadataSequence::LineReceived(const QByteArray&) {
    return ConversationStep::carryOn();
}

ConversationStep MetadataSequence::WaitElapsed() {
    return ConversationStep::carryOn();
}

ConversationStep MetadataSequence::PortChanged() {
    return ConversationStep::carryOn();
}

ConversationStep MetadataSequence::Stop() {
    if (m_phase == Phase::Over)
        return ConversationStep::carryOn();
    return fail(tr("Stopped"));
}

ConversationStep MetadataSequence::send(const QString& command, bool awake) {
    m_command = command;
    m_tries = RetryRule(m_retrySettings);
    return ConversationStep::send(command,
                                  awake ? m_tries.firstTryWhileAwake() : m_tries.firstTry());
}

ConversationStep MetadataSequence::retryOrFail(RetryRule::Failure failure, const QString& fault) {
    if (const std::optional<SendOptions> next = m_tries.nextTry(failure))
        return ConversationStep::send(m_command, *next);
    return fail(fault);
}

ConversationStep MetadataSequence::fail(const QString& fault) {
    m_metadata.Fault = fault;
    return finish();
}

ConversationStep MetadataSequence::finish() {
    m_phase = Phase::Over;
    return ConversationStep::finish();
}
