#include "timer/CTimer.h"

#include <QElapsedTimer>
#include <QtTest>
#include <memory>

class TestCTimer : public QObject {
    Q_OBJECT
private slots:
    void ticksUntilDisabled();
    void zeroIntervalGivesNoTicksUntilPositive();
    void objectsTickIndependently();
    void destructionStopsTicks();
    void destroyedFromItsOwnHandler();
};

void TestCTimer::ticksUntilDisabled() {
    CTimer timer;
    QSignalSpy ticks(&timer, &CTimer::Timer);
    timer.setInterval(30);
    timer.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, 2000);
    timer.setEnabled(false);
    const int count = ticks.count();
    QTest::qWait(120);
    QCOMPARE(ticks.count(), count);
}

void TestCTimer::zeroIntervalGivesNoTicksUntilPositive() {
    CTimer timer;
    QSignalSpy ticks(&timer, &CTimer::Timer);
    timer.setEnabled(true);
    timer.setInterval(-5); // ignored
    QTest::qWait(100);
    QCOMPARE(ticks.count(), 0);
    timer.setInterval(20);
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 1, 2000);
}

void TestCTimer::objectsTickIndependently() {
    CTimer fast;
    CTimer idle;
    QSignalSpy fastTicks(&fast, &CTimer::Timer);
    QSignalSpy idleTicks(&idle, &CTimer::Timer);
    fast.setInterval(20);
    fast.setEnabled(true);
    idle.setInterval(20); // same interval, but never enabled
    QTRY_VERIFY_WITH_TIMEOUT(fastTicks.count() >= 3, 2000);
    QCOMPARE(idleTicks.count(), 0);
}

void TestCTimer::destructionStopsTicks() {
    int ticks = 0;
    {
        CTimer timer;
        connect(&timer, &CTimer::Timer, this, [&ticks] { ++ticks; });
        timer.setInterval(10);
        timer.setEnabled(true);
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 1, 2000);
    }
    const int count = ticks;
    QTest::qWait(60);
    QCOMPARE(ticks, count);
}

void TestCTimer::destroyedFromItsOwnHandler() {
    auto timer = std::make_unique<CTimer>();
    bool fired = false;
    connect(timer.get(), &CTimer::Timer, this, [&] {
        fired = true;
        timer.reset();
    });
    timer->setInterval(10);
    timer->setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(fired, 2000);
    QTest::qWait(50); // no crash and no further call
}

QTEST_GUILESS_MAIN(TestCTimer)
#include "tst_ctimer.moc"
