#pragma once

#include "link/Conversation.h"
#include "measure/RetryRule.h"

#include <QByteArray>
#include <QString>

// How an address change ended: whether the sensor now answers at the new
// address and no longer at the old one, where it was seen answering, and
// the report for the operator, which names the step that failed.
struct AddressChangeOutcome {
    bool Changed = false;
    // What the check after the change found; both false when it never ran.
    bool NewAnswers = false;
    bool OldAnswers = false;
    bool Checked = false;
    QString Report;
};

// Gives a sensor a new address, guarded, as plain decisions:
// 1. unless the operator confirmed that other sensors share the bus, "?!"
//    must get one clean answer, the sensor's own address: then it is alone
//    and no other sensor can take the command for itself;
// 2. "aAb!" must be answered "b"; "a" means the sensor refused;
// 3. the sensor may hear nothing for a second while it stores the address;
// 4. then "b!" must answer and "a!" must not.
// Every command goes by the retry rule. When the answer to "aAb!" is lost,
// the check still runs, so that the report says where the sensor is.
class AddressChangeSequence : public ConversationSteps {
public:
    static constexpr int SettleMs = 1000;

    AddressChangeSequence(QChar from, QChar to, bool othersOnBus, const RetrySettings& retries);

    ConversationStep Begin() override;
    ConversationStep ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                   bool lineErrors = false) override;
    ConversationStep NotSent(const QString& reason) override;
    ConversationStep LineReceived(const QByteArray& line) override;
    ConversationStep WaitElapsed() override;
    ConversationStep PortChanged() override;
    ConversationStep Stop() override;

    bool isOver() const { return m_phase == Phase::Over; }
    const AddressChangeOutcome& outcome() const { return m_outcome; }

private:
    enum class Phase { NotStarted, Querying, Changing, Settling, CheckingNew, CheckingOld, Over };

    ConversationStep queryAnswered(bool answered, const QByteArray& answer);
    ConversationStep changeAnswered(bool answered, const QByteArray& answer);
    ConversationStep newAnswered(bool answered, const QByteArray& answer);
    ConversationStep oldAnswered(bool answered, const QByteArray& answer);
    ConversationStep send(Phase phase, const QString& command,
                          int silentRounds = RetryRule::Rounds);
    std::optional<ConversationStep> retry(bool answered);
    ConversationStep checked();
    ConversationStep fail(const QString& report);

    QChar m_from;
    QChar m_to;
    bool m_othersOnBus;
    RetrySettings m_retrySettings;
    Phase m_phase = Phase::NotStarted;
    QString m_command;
    RetryRule m_tries;
    QString m_lastAnswer;      // the last unusable answer, for the report
    bool m_changeLost = false; // "aAb!" got no usable answer
    AddressChangeOutcome m_outcome;
};
