#include "sensors/AddressChangeSequence.h"

#include "measure/MeasurementAnswers.h"
#include "sensors/BusAddresses.h"

#include <QCoreApplication>

#include <optional>

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("AddressChangeSequence", text);
}

// The address a clean answer of one sensor names ("b" CR LF), if it is one.
std::optional<QChar> addressSaid(ExchangeOutcome outcome, const QByteArray& answer,
                                 bool lineErrors) {
    if (outcome != ExchangeOutcome::Answered || lineErrors || answer.size() != 3 ||
        !answer.endsWith("\r\n"))
        return std::nullopt;
    const QChar address = QChar::fromLatin1(answer.at(0));
    if (!BusAddresses::isAddress(address))
        return std::nullopt;
    return address;
}

} // namespace

AddressChangeSequence::AddressChangeSequence(QChar from, QChar to, bool othersOnBus,
                                             const RetrySettings& retries)
    : m_from(from), m_to(to), m_othersOnBus(othersOnBus), m_retrySettings(retries) {}

ConversationStep AddressChangeSequence::Begin() {
    if (m_othersOnBus)
        return send(Phase::Changing, m_from + QStringLiteral("A") + m_to + QStringLiteral("!"));
    return send(Phase::Querying, QStringLiteral("?!"));
}

ConversationStep AddressChangeSequence::ExchangeEnded(ExchangeOutcome outcome,
                                                      const QByteArray& answer, bool lineErrors) {
    if (m_phase == Phase::NotStarted || m_phase == Phase::Settling || m_phase == Phase::Over)
        return ConversationStep::carryOn();
    if (outcome == ExchangeOutcome::Interrupted) {
        if (m_phase == Phase::Querying)
            return fail(tr("Not changed: \"?!\" was cut short, the port was closed or another "
                           "command went out"));
        return fail(tr("Unsure: %1 was cut short, the port was closed or another command went "
                       "out; scan the bus to see where the sensor answers")
                        .arg(m_command));
    }
    const std::optional<QChar> said = addressSaid(outcome, answer, lineErrors);
    const bool answered = outcome == ExchangeOutcome::Answered;
    if (answered && !said)
        m_lastAnswer = MeasurementAnswers::Printable(answer);
    switch (m_phase) {
    case Phase::Querying:
        if (said && *said != m_from)
            return fail(tr("Not changed: \"?!\" was answered by %1, not by %2, so another sensor "
                           "may be on the bus; confirm that other sensors share it to change "
                           "the address anyway")
                            .arg(*said, m_from));
        return queryAnswered(said.has_value(), answer);
    case Phase::Changing:
        return changeAnswered(said.has_value(), answer);
    case Phase::CheckingNew:
        return newAnswered(said == m_to, answer);
    default:
        return oldAnswered(said == m_from, answer);
    }
}

ConversationStep AddressChangeSequence::queryAnswered(bool clean, const QByteArray& answer) {
    if (clean)
        return send(Phase::Changing, m_from + QStringLiteral("A") + m_to + QStringLiteral("!"));
    if (const std::optional<ConversationStep> again = retry(!answer.isEmpty()))
        return *again;
    if (m_tries.heardSomething())
        return fail(tr("Not changed: several sensors answer \"?!\" (%1); confirm that other "
                       "sensors share the bus to change the address anyway")
                        .arg(m_lastAnswer));
    return fail(tr("Not changed: nothing answers \"?!\""));
}

ConversationStep AddressChangeSequence::changeAnswered(bool clean, const QByteArray& answer) {
    const QChar said = clean ? QChar::fromLatin1(answer.at(0)) : QChar();
    if (clean && said == m_from)
        return fail(tr("Not changed: the sensor refused the address %1 (it answered %2 with %3)")
                        .arg(m_to, m_command, m_from));
    if (!clean || said != m_to) {
        if (const std::optional<ConversationStep> again = retry(!answer.isEmpty()))
            return *again;
        m_changeLost = true;
    }
    m_phase = Phase::Settling;
    return ConversationStep::wait(SettleMs);
}

ConversationStep AddressChangeSequence::WaitElapsed() {
    if (m_phase != Phase::Settling)
        return ConversationStep::carryOn();
    return send(Phase::CheckingNew, m_to + QStringLiteral("!"));
}

ConversationStep AddressChangeSequence::newAnswered(bool answersThere, const QByteArray& answer) {
    if (!answersThere) {
        if (const std::optional<ConversationStep> again = retry(!answer.isEmpty()))
            return *again;
    }
    m_outcome.NewAnswers = answersThere;
    // Silence at the old address is taken after one round, as a scan takes it.
    return send(Phase::CheckingOld, m_from + QStringLiteral("!"), 1);
}

ConversationStep AddressChangeSequence::oldAnswered(bool answersThere, const QByteArray& answer) {
    if (!answersThere) {
        if (const std::optional<ConversationStep> again = retry(!answer.isEmpty()))
            return *again;
    }
    m_outcome.OldAnswers = answersThere || m_tries.heardSomething();
    return checked();
}

ConversationStep AddressChangeSequence::checked() {
    m_outcome.Checked = true;
    const QString change = m_from + QStringLiteral("A") + m_to + QStringLiteral("!");
    if (m_outcome.NewAnswers && !m_outcome.OldAnswers) {
        m_outcome.Changed = true;
        m_outcome.Report =
            m_changeLost ? tr("Changed: the sensor at %1 now answers at %2 (its answer to "
                              "%3 was lost on the line)")
                               .arg(m_from, m_to, change)
                         : tr("Changed: the sensor at %1 now answers at %2").arg(m_from, m_to);
    } else if (m_outcome.NewAnswers) {
        m_outcome.Report = tr("Unsure: after %1 both %2 and %3 answer; another sensor may "
                              "share the bus, scan it to see")
                               .arg(change, m_to, m_from);
    } else if (m_outcome.OldAnswers) {
        m_outcome.Report =
            m_changeLost
                ? tr("Not changed: %1 got no clear answer, and the sensor still answers at %2 "
                     "and not at %3")
                      .arg(change, m_from, m_to)
                : tr("Not changed: the sensor answered %1 with %2, but still answers at %3 "
                     "and not at %2")
                      .arg(change, m_to, m_from);
    } else {
        m_outcome.Report = tr("Lost: after %1 neither %2 nor %3 answers; scan the bus to find "
                              "the sensor")
                               .arg(change, m_to, m_from);
    }
    m_phase = Phase::Over;
    return ConversationStep::finish();
}

ConversationStep AddressChangeSequence::NotSent(const QString& reason) {
    const QString why = reason.isEmpty() ? tr("%1 could not be sent").arg(m_command)
                                         : tr("%1 could not be sent: %2").arg(m_command, reason);
    if (m_phase == Phase::Querying || m_phase == Phase::Changing)
        return fail(tr("Not changed: %1").arg(why));
    return fail(tr("Unsure: %1; scan the bus to see where the sensor answers").arg(why));
}

ConversationStep AddressChangeSequence::LineReceived(const QByteArray&) {
    return ConversationStep::carryOn();
}

// An exchange in flight ends on its own; a port that changes while the
// sensor settles shows in the check's answers.
ConversationStep AddressChangeSequence::PortChanged() {
    return ConversationStep::carryOn();
}

ConversationStep AddressChangeSequence::Stop() {
    if (m_phase == Phase::Over)
        return ConversationStep::carryOn();
    if (m_phase == Phase::Querying)
        return fail(tr("Stopped: nothing was changed"));
    return fail(tr("Stopped before the check: the address may have changed; scan the bus to "
                   "see where the sensor answers"));
}

ConversationStep AddressChangeSequence::send(Phase phase, const QString& command,
                                             int silentRounds) {
    m_phase = phase;
    m_command = command;
    m_tries = RetryRule(m_retrySettings, silentRounds);
    return ConversationStep::send(command, m_tries.firstTry());
}

std::optional<ConversationStep> AddressChangeSequence::retry(bool answered) {
    const std::optional<SendOptions> next =
        m_tries.nextTry(answered ? RetryRule::Failure::Invalid : RetryRule::Failure::NoAnswer);
    if (!next)
        return std::nullopt;
    return ConversationStep::send(m_command, *next);
}

ConversationStep AddressChangeSequence::fail(const QString& report) {
    m_outcome.Report = report;
    m_phase = Phase::Over;
    return ConversationStep::finish();
}
