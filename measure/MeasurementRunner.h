#pragma once

#include "measure/MeasurementCycle.h"
#include "measure/MeasurementTable.h"

#include <QObject>

#include <optional>

class CTimer;
class ConversationRunner;
class ExchangeLink;
class IClock;

// Measures one or several sensors over the link: once, or a cycle every so
// many seconds until stopped. Each cycle is a conversation on the line: it
// waits for its turn (an exchange in flight ends first), and from its first
// start command to its last value nobody cuts into it. Between cycles the
// line is free. Cycles start a period apart on the monotonic clock; one that
// overruns its period starts the next at once, and is counted.
class MeasurementRunner : public QObject {
    Q_OBJECT
public:
    MeasurementRunner(ExchangeLink& link, IClock& clock, QObject* parent = nullptr);

    // repeatSeconds 0 measures once.
    void start(const QList<QChar>& addresses, const MeasurementMethod& method, int repeatSeconds);
    // How the measurements from the next one on retry their commands.
    void setRetries(const RetrySettings& retries) { m_retries = retries; }
    const RetrySettings& retries() const { return m_retries; }
    // Ends the measurement under way (its row says "Stopped") and any
    // repetition.
    void stop();
    bool isRunning() const { return m_running; }
    // Cycles that took longer than their period, since the start.
    int overruns() const { return m_overruns; }

    // The timers, for tests that let time pass at once.
    CTimer& waitTimer();
    CTimer& cycleTimer() { return *m_tmrCycle; }

signals:
    // One per sensor and cycle, in the order of the addresses.
    void measurementEnded(const MeasurementRecord& record);
    void overrunsChanged(int overruns);
    void runningChanged(bool running);
    // What became of a measurement that did not complete, for the operator.
    void report(const QString& text);

private:
    void beginCycle();
    void conversation_started();
    void conversation_finished();
    void scheduleNextCycle();
    void setRunning(bool running);
    void tmrCycle_Timer();

    IClock& m_clock;
    ConversationRunner* m_conversation;
    CTimer* m_tmrCycle;
    QList<QChar> m_addresses;
    MeasurementMethod m_method;
    int m_repeatSeconds = 0;
    RetrySettings m_retries;
    bool m_running = false;
    int m_overruns = 0;
    std::optional<MeasurementCycle> m_cycle; // the cycle under way
    QDateTime m_cycleTime;
    qint64 m_cycleStartTick = 0;
};
