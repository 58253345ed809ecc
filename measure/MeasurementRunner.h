#pragma once

#include "measure/MeasurementSequence.h"
#include "measure/MeasurementTable.h"

#include <QObject>

#include <optional>

class CTimer;
class ConversationRunner;
class ExchangeLink;
class IClock;

// Measures over the link: once, or one every so many seconds until
// stopped. Each measurement is a conversation on the line: it waits for its
// turn (an exchange in flight ends first), and from its start command to
// its last value nobody cuts into it. Between measurements the line is free.
class MeasurementRunner : public QObject {
    Q_OBJECT
public:
    MeasurementRunner(ExchangeLink& link, IClock& clock, QObject* parent = nullptr);

    // repeatSeconds 0 measures once.
    void start(QChar address, const MeasurementMethod& method, int repeatSeconds);
    // Ends the measurement under way (its row says "Stopped") and any
    // repetition.
    void stop();
    bool isRunning() const { return m_running; }

    // The timers, for tests that let time pass at once.
    CTimer& waitTimer();
    CTimer& cycleTimer() { return *m_tmrCycle; }

signals:
    void measurementEnded(const MeasurementRecord& record);
    void runningChanged(bool running);
    // What became of a measurement that did not complete, for the operator.
    void report(const QString& text);

private:
    void beginCycle();
    void conversation_started();
    void conversation_finished();
    void setRunning(bool running);
    void tmrCycle_Timer();

    IClock& m_clock;
    ConversationRunner* m_conversation;
    CTimer* m_tmrCycle;
    QChar m_address;
    MeasurementMethod m_method;
    int m_repeatSeconds = 0;
    bool m_running = false;
    std::optional<MeasurementSequence> m_sequence; // the measurement under way
    MeasurementRecord m_record;
    qint64 m_cycleStartTick = 0;
};
