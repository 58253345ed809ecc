#pragma once

#include "measure/MeasurementMethod.h"
#include "measure/RetryRule.h"
#include "sensors/AddressChangeSequence.h"
#include "sensors/BusAddresses.h"
#include "sensors/MetadataSequence.h"
#include "sensors/ScanSequence.h"

#include <QObject>

#include <optional>

class CTimer;
class ConversationRunner;
class ExchangeLink;

// The Sensors tab's work on the line: a scan, an address change or the
// reading of names and units, one at a time, each a conversation that waits
// for its turn and that nobody cuts into until it ends.
class SensorBus : public QObject {
    Q_OBJECT
public:
    explicit SensorBus(ExchangeLink& link, QObject* parent = nullptr);

    // How the commands from the next piece of work on retry.
    void setRetries(const RetrySettings& retries) { m_retries = retries; }
    bool isBusy() const;

    // Each does nothing while another piece of work runs.
    void scan(BusAddresses::Range range);
    void changeAddress(QChar from, QChar to, bool othersOnBus);
    void readMetadata(QChar address, const MeasurementMethod& method);
    // Ends the work under way.
    void stop();

    // The wait timer, for tests that let time pass at once.
    CTimer& waitTimer();

signals:
    void busyChanged(bool busy);
    void scanStarted(const QString& addresses);
    void probing(int position, int count, QChar address);
    void addressScanned(const ScanFinding& finding);
    void severalAnswerQuery();
    // fault: why the scan ended before its last address; empty when it did not.
    void scanEnded(bool stopped, const QString& fault);
    void addressChangeEnded(QChar from, QChar to, const AddressChangeOutcome& outcome);
    void metadataEnded(QChar address, const MeasurementMethod& method,
                       const MethodMetadata& metadata);

private:
    void run(ConversationSteps& steps, const QString& reason);
    void conversation_finished();

    ConversationRunner* m_conversation;
    RetrySettings m_retries;
    std::optional<ScanSequence> m_scan;
    std::optional<AddressChangeSequence> m_change;
    QChar m_changeFrom;
    QChar m_changeTo;
    std::optional<MetadataSequence> m_metadata;
    QChar m_metadataAddress;
    MeasurementMethod m_metadataMethod;
};
