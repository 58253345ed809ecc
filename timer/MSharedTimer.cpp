#include "timer/MSharedTimer.h"

#include "timer/CTimer.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTimerEvent>

namespace {

// The hidden object that owns the system timers of its thread. Each expiry
// arrives as a timer event on that thread and is handed to the CTimer that
// the identifier was issued for.
class TimerOwner : public QObject {
public:
    int Start(CTimer* timer, int intervalMs) {
        const int id = startTimer(intervalMs, Qt::PreciseTimer);
        if (id != 0)
            m_routes.insert(id, timer);
        return id;
    }

    void Kill(int id) {
        if (m_routes.remove(id) > 0)
            killTimer(id);
    }

protected:
    void timerEvent(QTimerEvent* event) override {
        // A guarded pointer keeps the call safe when a handler destroys the
        // object it is called for.
        const QPointer<CTimer> timer = m_routes.value(event->timerId());
        if (timer)
            timer->RaiseTimer();
    }

private:
    QHash<int, CTimer*> m_routes;
};

TimerOwner& ThreadOwner() {
    thread_local TimerOwner owner;
    return owner;
}

} // namespace

int MSharedTimer::StartTimer(CTimer* timer, int intervalMs) {
    return ThreadOwner().Start(timer, intervalMs);
}

void MSharedTimer::KillTimer(int timerId) {
    if (timerId != 0)
        ThreadOwner().Kill(timerId);
}
