#pragma once

#include "link/Conversation.h"
#include "measure/Identification.h"
#include "measure/RetryRule.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What a scan learned of one address.
struct ScanFinding {
    enum class Kind {
        Absent,  // nothing answered any try
        Found,   // "a!" answered as it should
        Unclear, // something answered, but never a readable "a"
    };
    QChar Address;
    Kind What = Kind::Absent;
    // Found: the identification, when its answer could be read.
    std::optional<Identification> Identity;
    qint64 RoundTripMs = -1; // of the "a!" that found it
    QString Remark;          // what went wrong, where something did
    int Retries = 0;         // over "a!" and "aI!"
};

// A scan of the bus as plain decisions: "?!" once first, when asked (with
// several sensors on the bus their answers collide, a hint worth giving),
// then each address in turn with "a!", and "aI!" for each one found, at
// once and without a break while it is awake.
//
// Every command goes by the retry rule, each try waiting only the
// first-byte time-out. An address is called absent after one round of
// three silent tries rather than the rule's three rounds: a sensor answers
// within 15 ms of any valid try, so two more rounds of silence would tell
// nothing new, and scanning all 62 addresses stays within 20 s. An address
// whose tries bring anything at all (a garbled answer, another address)
// has someone there, and goes on to the full three rounds.
class ScanSequence : public ConversationSteps {
public:
    // What the driver hears as the scan goes.
    struct Reports {
        // `address`, the position-th (from 1) of `count`, is being probed.
        std::function<void(int position, int count, QChar address)> Probing;
        // An address is done.
        std::function<void(const ScanFinding& finding)> Finished;
        // "?!" came back garbled: more than one sensor answers it.
        std::function<void()> SeveralAnswerQuery;
    };

    ScanSequence(const QString& addresses, bool queryFirst, const RetrySettings& retries,
                 Reports reports = {});

    ConversationStep Begin() override;
    ConversationStep ExchangeEnded(ExchangeOutcome outcome, const QByteArray& answer,
                                   bool lineErrors = false) override;
    ConversationStep NotSent(const QString& reason) override;
    ConversationStep LineReceived(const QByteArray& line) override;
    ConversationStep WaitElapsed() override;
    ConversationStep PortChanged() override;
    ConversationStep Stop() override;
    // The round trip of the answer about to end the exchange in flight.
    void roundTripMeasured(qint64 milliseconds) { m_roundTripMs = milliseconds; }

    bool isOver() const { return m_phase == Phase::Over; }
    bool stopped() const { return m_stopped; }
    // Why the scan ended before its last address; empty when it did not.
    QString fault() const { return m_fault; }
    const QList<ScanFinding>& findings() const { return m_findings; }

private:
    enum class Phase { NotStarted, Querying, Probing, Identifying, Over };

    ConversationStep queryAnswered(ExchangeOutcome outcome, const QByteArray& answer,
                                   bool lineErrors);
    ConversationStep probeAnswered(ExchangeOutcome outcome, const QByteArray& answer,
                                   bool lineErrors);
    ConversationStep identityAnswered(ExchangeOutcome outcome, const QByteArray& answer,
                                      bool lineErrors);
    ConversationStep probe(int position);
    // awake: the sensor has just answered.
    ConversationStep send(const QString& command, int silentRounds = RetryRule::Rounds,
                          bool awake = false);
    // The same command again, or nothing when its tries are spent.
    std::optional<ConversationStep> retry(RetryRule::Failure failure);
    ConversationStep finishAddress();
    ConversationStep end(const QString& fault = QString());

    QString m_addresses;
    bool m_queryFirst;
    RetrySettings m_retrySettings;
    Reports m_reports;
    Phase m_phase = Phase::NotStarted;
    int m_position = 0;
    QString m_command;
    RetryRule m_tries;
    qint64 m_roundTripMs = -1;
    ScanFinding m_current;
    QList<ScanFinding> m_findings;
    bool m_stopped = false;
    QString m_fault;
};
