#include "link/Reception.h"

#include <QtTest>

// Each scenario sends a command at time 0 (unless it says "nosend") and
// then runs ticks written as "advanceMs:waiting=outcome", where outcome is
// I (idle), R (receiving), T (timed out) or C (completed).
class TestReception : public QObject {
    Q_OBJECT
private slots:
    void ticks_data();
    void ticks();
    void roundTripAndGap();
};

namespace {
TickOutcome outcomeOf(QChar letter) {
    switch (letter.toLatin1()) {
    case 'R':
        return TickOutcome::Receiving;
    case 'T':
        return TickOutcome::TimedOut;
    case 'C':
        return TickOutcome::Completed;
    default:
        return TickOutcome::Idle;
    }
}
} // namespace

void TestReception::ticks_data() {
    QTest::addColumn<bool>("wakeUp");
    QTest::addColumn<QString>("script");
    QTest::newRow("complete one quiet tick after the last byte")
        << false << "10:3=R 10:5=R 10:5=C 10:0=I";
    QTest::newRow("a pause of two ticks splits the answer")
        << false << "10:3=R 10:3=C 10:0=I 10:0=I 10:2=R 10:2=C";
    QTest::newRow("time-out at the first tick past 0.1 s")
        << false << "50:0=I 45:0=I 10:0=T 10:0=I";
    QTest::newRow("wake-up characters allow 3 s") << true << "1000:0=I 1990:0=I 20:0=T";
    QTest::newRow("a late answer still completes") << false << "110:0=T 500:4=R 10:4=C";
    QTest::newRow("counts past 16 bits complete") << false << "10:40000=R 10:40000=C";
    QTest::newRow("bytes with nothing pending complete") << false << "nosend 10:0=I 10:2=R 10:2=C";
    QTest::newRow("a shrinking count completes") << false << "10:5=R 10:4=C";
}

void TestReception::ticks() {
    QFETCH(bool, wakeUp);
    QFETCH(QString, script);
    ReceptionState state;
    TickInput input;
    input.NowTick = 5000000;
    input.NowSeconds = 5000;
    input.WakeUpInUse = wakeUp;
    QStringList steps = script.split(QLatin1Char(' '));
    if (steps.first() == QLatin1String("nosend"))
        steps.removeFirst();
    else
        state.SendTime = input.NowSeconds;

    for (const QString& step : steps) {
        const int colon = step.indexOf(QLatin1Char(':'));
        const int equals = step.indexOf(QLatin1Char('='));
        const qint64 advance = step.left(colon).toLongLong();
        input.NowTick += advance;
        input.NowSeconds += advance / 1000.0;
        input.WaitingCount = step.mid(colon + 1, equals - colon - 1).toLongLong();
        const TickOutcome outcome = Reception::Tick(state, input, nullptr);
        QVERIFY2(outcome == outcomeOf(step.at(equals + 1)), qPrintable(step));
    }
}

// The round trip counts from the operator's send (or from the first
// completion when there was none); the gap from the previous completion.
void TestReception::roundTripAndGap() {
    ReceptionState state;
    CompletionFigures figures;
    TickInput input{4, 1.0, 777, false};
    Reception::Tick(state, input, &figures);
    QVERIFY(Reception::Tick(state, input, &figures) == TickOutcome::Completed);
    QCOMPARE(figures.RoundTripMs, qint64(0));
    QCOMPARE(figures.GapMs, qint64(0));

    input.WaitingCount = 2;
    input.NowTick += 250;
    Reception::Tick(state, input, &figures);
    input.NowTick += 10;
    QVERIFY(Reception::Tick(state, input, &figures) == TickOutcome::Completed);
    QCOMPARE(figures.GapMs, qint64(260));
    QCOMPARE(figures.RoundTripMs, qint64(260)); // not renewed without an operator's send
}

QTEST_APPLESS_MAIN(TestReception)
#include "tst_reception.moc"
