#include "timer/CTimer.h"

#include <QtTest>

#include <memory>

// The timers share one system timer; each ticks only while it is enabled
// with an interval above 0.
class TestCTimer : public QObject {
    Q_OBJECT
private slots:
    void ticksOnlyWhileEnabledWithAnInterval() {
        CTimer timer;
        CTimer idle;
        QSignalSpy ticks(&timer, &CTimer::Timer);
        QSignalSpy idleTicks(&idle, &CTimer::Timer);
        idle.setInterval(20); // never enabled
        timer.setEnabled(true);
        timer.setInterval(-5); // ignored
        QTest::qWait(100);
        QCOMPARE(ticks.count(), 0);
        timer.setInterval(20);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, 2000);
        timer.setEnabled(false);
        const int count = ticks.count();
        QTest::qWait(120);
        QCOMPARE(ticks.count(), count);
        QCOMPARE(idleTicks.count(), 0);
    }

    // Destroyed from its own handler: no crash and no further call.
    void destructionStopsTicks() {
        auto timer = std::make_unique<CTimer>();
        int ticks = 0;
        connect(timer.get(), &CTimer::Timer, this, [&] {
            ++ticks;
            timer.reset();
        });
        timer->setInterval(10);
        timer->setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks > 0, 2000);
        QTest::qWait(60);
        QCOMPARE(ticks, 1);
    }
};

QTEST_GUILESS_MAIN(TestCTimer)
#include "tst_ctimer.moc"
