#pragma once

#include <QObject>

// A timer object that any window or class can own: an Enabled switch, an
// Interval in milliseconds and one event, Timer, raised on each period.
// The system timers behind it belong to MSharedTimer.
class CTimer : public QObject {
    Q_OBJECT
public:
    explicit CTimer(QObject* parent = nullptr);
    ~CTimer() override;

    bool Enabled() const { return m_enabled; }
    // Setting it (even to its present value) restarts the period from now.
    void setEnabled(bool enabled);
    qint32 Interval() const { return m_interval; }
    // A negative interval is ignored; 0 stops the ticks until a positive one.
    void setInterval(qint32 milliseconds);
    // Raises Timer; the shared module calls it at each expiry.
    void RaiseTimer();

signals:
    void Timer();

private:
    int m_systemTimerId = 0;
    bool m_enabled = false;
    qint32 m_interval = 0;
};
