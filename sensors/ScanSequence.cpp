#include "sensors/ScanSequence.h"

#include "measure/MeasurementAnswers.h"
#include "sensors/BusAddresses.h"

#include <QCoreApplication>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("ScanSequence", text);
}

// One sensor's whole answer to "?!" or "a!": its address and CR LF.
bool isAddressLine(const QByteArray& answer) {
    return answer.size() == 3 && answer.endsWith("\r\n") &&
           BusAddresses::isAddress(QChar::fromLatin1(answer.at(0)));
}

} // namespace

ScanSequence::ScanSequence(const QString& addresses, bool queryFirst, const RetrySettings& retries,
                           Reports reports)
    : m_addresses(addresses), m_queryFirst(queryFirst), m_retrySettings(retries),
      m_reports(std::move(reports)) {}

ConversationStep ScanSequence::Begin() {
    if (!m_queryFirst)
        return probe(0);
    m_phase = Phase::Querying;
    return send(QStringLiteral("?!"));
}

ConversationStep ScanSequence::ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                             bool lineErrors) {
    if (m_phase == Phase::NotStarted || m_phase == Phase::Over)
        return ConversationStep::carryOn();
    if (outcome == ExchangeOutcome::Interrupted)
        return end(
            tr("%1 was cut short: the port was closed or another command went out").arg(m_command));
    switch (m_phase) {
    case Phase::Querying:
        return queryAnswered(outcome, answer, lineErrors);
    case Phase::Probing:
        return probeAnswered(outcome, answer, lineErrors);
    default:
        return identityAnswered(outcome, answer, lineErrors);
    }
}

// "?!" goes once: a collision would only come again.
ConversationStep ScanSequence::queryAnswered(ExchangeOutcome outcome, const QByteArray& answer,
                                             bool lineErrors) {
    const bool garbled =
        outcome == ExchangeOutcome::Answered && (lineErrors || !isAddressLine(answer));
    if (garbled && m_reports.SeveralAnswerQuery)
        m_reports.SeveralAnswerQuery();
    return probe(0);
}

ConversationStep ScanSequence::probeAnswered(ExchangeOutcome outcome, const QByteArray& answer,
                                             bool lineErrors) {
    const QChar address = m_current.Address;
    const bool answered = outcome == ExchangeOutcome::Answered;
    if (answered && !lineErrors && answer == address.toLatin1() + QByteArrayLiteral("\r\n")) {
        m_current.What = ScanFinding::Kind::Found;
        m_current.RoundTripMs = m_roundTripMs;
        m_current.Retries += m_tries.retries();
        m_phase = Phase::Identifying;
        return send(address + QStringLiteral("I!"), RetryRule::Rounds, true);
    }
    if (answered)
        m_current.Remark = tr("something answers at %1, but never clearly: %2")
                               .arg(address, MeasurementAnswers::Printable(answer));
    const RetryRule::Failure failure =
        answered ? RetryRule::Failure::Invalid : RetryRule::Failure::NoAnswer;
    if (const std::optional<ConversationStep> again = retry(failure))
        return *again;
    m_current.Retries += m_tries.retries();
    m_current.What =
        m_tries.heardSomething() ? ScanFinding::Kind::Unclear : ScanFinding::Kind::Absent;
    return finishAddress();
}

ConversationStep ScanSequence::identityAnswered(ExchangeOutcome outcome, const QByteArray& answer,
                                                bool lineErrors) {
    const QChar address = m_current.Address;
    const bool answered = outcome == ExchangeOutcome::Answered;
    if (answered && !lineErrors) {
        const std::optional<Identification> identity = Identification::Decode(answer);
        if (identity && identity->Address == address) {
            m_current.Identity = identity;
            m_current.Remark.clear();
            m_current.Retries += m_tries.retries();
            return finishAddress();
        }
    }
    m_current.Remark =
        answered
            ? tr("the identification %1 cannot be read").arg(MeasurementAnswers::Printable(answer))
            : tr("no answer to %1").arg(m_command);
    const RetryRule::Failure failure =
        answered ? RetryRule::Failure::Invalid : RetryRule::Failure::NoAnswer;
    if (const std::optional<ConversationStep> again = retry(failure))
        return *again;
    m_current.Retries += m_tries.retries();
    return finishAddress();
}

ConversationStep ScanSequence::NotSent(const QString& reason) {
    if (reason.isEmpty())
        return end(tr("%1 could not be sent").arg(m_command));
    return end(tr("%1 could not be sent: %2").arg(m_command, reason));
}

ConversationStep ScanSequence::LineReceived(const QByteArray&) {
    return ConversationStep::carryOn();
}

ConversationStep ScanSequence::WaitElapsed() {
    return ConversationStep::carryOn();
}

// An exchange in flight ends on its own when the port changes.
ConversationStep ScanSequence::PortChanged() {
    return ConversationStep::carryOn();
}

ConversationStep ScanSequence::Stop() {
    if (m_phase == Phase::Over)
        return ConversationStep::carryOn();
    m_stopped = true;
    return end();
}

ConversationStep ScanSequence::probe(int position) {
    m_position = position;
    if (position >= m_addresses.size())
        return end();
    const QChar address = m_addresses.at(position);
    m_current = ScanFinding{};
    m_current.Address = address;
    if (m_reports.Probing)
        m_reports.Probing(position + 1, int(m_addresses.size()), address);
    m_phase = Phase::Probing;
    return send(address + QStringLiteral("!"), 1);
}

ConversationStep ScanSequence::send(const QString& command, int silentRounds, bool awake) {
    m_command = command;
    m_tries = RetryRule(m_retrySettings, silentRounds);
    m_roundTripMs = -1;
    return ConversationStep::send(command,
                                  awake ? m_tries.firstTryWhileAwake() : m_tries.firstTry());
}

std::optional<ConversationStep> ScanSequence::retry(RetryRule::Failure failure) {
    const std::optional<SendOptions> next = m_tries.nextTry(failure);
    if (!next)
        return std::nullopt;
    m_roundTripMs = -1;
    return ConversationStep::send(m_command, *next);
}

ConversationStep ScanSequence::finishAddress() {
    if (m_current.What == ScanFinding::Kind::Absent)
        m_current.Remark.clear();
    m_findings.append(m_current);
    if (m_reports.Finished)
        m_reports.Finished(m_current);
    return probe(m_position + 1);
}

ConversationStep ScanSequence::end(const QString& fault) {
    m_phase = Phase::Over;
    m_fault = fault;
    return ConversationStep::finish();
}
