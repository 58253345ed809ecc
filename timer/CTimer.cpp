#include "timer/CTimer.h"

#include "timer/MSharedTimer.h"

CTimer::CTimer(QObject* parent) : QObject(parent) {}

CTimer::~CTimer() {
    MSharedTimer::KillTimer(m_systemTimerId);
}

void CTimer::setEnabled(bool enabled) {
    if (m_enabled) {
        MSharedTimer::KillTimer(m_systemTimerId);
        m_systemTimerId = 0;
    }
    m_enabled = enabled;
    if (m_interval >= 1 && enabled)
        m_systemTimerId = MSharedTimer::StartTimer(this, m_interval);
}

void CTimer::setInterval(qint32 milliseconds) {
    if (milliseconds < 0)
        return;
    m_interval = milliseconds;
    setEnabled(m_enabled);
}

void CTimer::RaiseTimer() {
    emit Timer();
}
