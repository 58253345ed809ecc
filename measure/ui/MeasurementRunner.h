#pragma once

#include "link/Exchange.h"
#include "measure/MeasurementSequence.h"
#include "measure/MeasurementTable.h"

#include <QObject>

#include <optional>

class CTimer;
class IClock;
class IStatusPanels;
class SensorLink;

// Drives measurements over the link: once, or one every so many seconds
// until stopped. While a measurement runs it holds the link, so that no
// other sender cuts into its exchanges; between measurements the link is
// free. The waits are the program's timers, never a blocking sleep.
class MeasurementRunner : public QObject {
    Q_OBJECT
public:
    MeasurementRunner(SensorLink& link, IClock& clock, IStatusPanels& status,
                      QObject* parent = nullptr);

    // repeatSeconds 0 measures once.
    void Start(QChar address, const MeasurementMethod& method, int repeatSeconds);
    // Ends the measurement under way (its row says "Stopped") and any
    // repetition.
    void Stop();
    bool IsRunning() const { return m_running; }

    // The timers, for tests that let time pass at once.
    CTimer& WaitTimer() { return *m_tmrWait; }
    CTimer& CycleTimer() { return *m_tmrCycle; }

signals:
    void MeasurementEnded(const MeasurementRecord& record);
    void RunningChanged(bool running);

private:
    void beginCycle();
    void perform(const MeasurementStep& step);
    void finishMeasurement();
    void setRunning(bool running);
    void Link_ExchangeEnded(ExchangeId exchange, ExchangeOutcome outcome, const QByteArray& answer);
    void Link_AnswerOutsideExchange(const QByteArray& answer);
    void tmrWait_Timer();
    void tmrCycle_Timer();

    SensorLink& m_link;
    IClock& m_clock;
    IStatusPanels& m_status;
    CTimer* m_tmrWait;
    CTimer* m_tmrCycle;
    QChar m_address;
    MeasurementMethod m_method;
    int m_repeatSeconds = 0;
    bool m_running = false;
    std::optional<MeasurementSequence> m_sequence; // the measurement under way
    MeasurementRecord m_record;
    ExchangeId m_exchange = NoExchange; // the sequence's exchange in flight
    qint64 m_cycleStartTick = 0;
};
