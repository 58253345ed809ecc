#include "sensors/SensorBus.h"

#include "link/ConversationRunner.h"
#include "link/ExchangeLink.h"

SensorBus::SensorBus(ExchangeLink& link, QObject* parent)
    : QObject(parent), m_conversation(new ConversationRunner(link, this)) {
    connect(m_conversation, &ConversationRunner::finished, this, &SensorBus::conversation_finished);
    // The link measures each answer's round trip just before it ends the
    // exchange, so the scan takes it for the "a!" it is about to hear of.
    connect(&link, &ExchangeLink::roundTripMeasured, this, [this](qint64 milliseconds) {
        if (m_scan)
            m_scan->roundTripMeasured(milliseconds);
    });
}

CTimer& SensorBus::waitTimer() {
    return m_conversation->waitTimer();
}

bool SensorBus::isBusy() const {
    return m_conversation->isRunning();
}

void SensorBus::scan(BusAddresses::Range range) {
    if (isBusy())
        return;
    const QString addresses = BusAddresses::of(range);
    ScanSequence::Reports reports;
    reports.Probing = [this](int position, int count, QChar address) {
        emit probing(position, count, address);
    };
    reports.Finished = [this](const ScanFinding& finding) { emit addressScanned(finding); };
    reports.SeveralAnswerQuery = [this] { emit severalAnswerQuery(); };
    m_scan.emplace(addresses, range == BusAddresses::Range::All, m_retries, reports);
    emit scanStarted(addresses);
    run(*m_scan, tr("a scan of the bus is running on the Sensors tab; press Stop to end it"));
}

void SensorBus::changeAddress(QChar from, QChar to, bool othersOnBus) {
    if (isBusy())
        return;
    m_changeFrom = from;
    m_changeTo = to;
    m_change.emplace(from, to, othersOnBus, m_retries);
    run(*m_change, tr("an address change is running on the Sensors tab"));
}

void SensorBus::readMetadata(QChar address, const MeasurementMethod& method) {
    if (isBusy())
        return;
    m_metadataAddress = address;
    m_metadataMethod = method;
    m_metadata.emplace(address, method, m_retries);
    run(*m_metadata, tr("names and units are being read on the Sensors tab; press Stop to end it"));
}

void SensorBus::stop() {
    m_conversation->stop();
}

void SensorBus::run(ConversationSteps& steps, const QString& reason) {
    emit busyChanged(true);
    m_conversation->run(steps, reason);
}

// A piece of work stopped while it still waited for the line ends as
// stopped, with nothing sent.
void SensorBus::conversation_finished() {
    if (m_scan) {
        const bool stopped = m_scan->stopped() || !m_scan->isOver();
        const QString fault = m_scan->fault();
        m_scan.reset();
        emit scanEnded(stopped, fault);
    } else if (m_change) {
        AddressChangeOutcome outcome = m_change->outcome();
        if (!m_change->isOver())
            outcome.Report = tr("Stopped: nothing was changed");
        m_change.reset();
        emit addressChangeEnded(m_changeFrom, m_changeTo, outcome);
    } else if (m_metadata) {
        MethodMetadata metadata = m_metadata->metadata();
        if (!m_metadata->isOver())
            metadata.Fault = tr("Stopped");
        m_metadata.reset();
        emit metadataEnded(m_metadataAddress, m_metadataMethod, metadata);
    }
    emit busyChanged(false);
}
