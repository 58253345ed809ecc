#include "link/Reception.h"

#include <QtTest>

// Each scenario starts exchange 1 at time 0 (unless it says "nosend") and
// then runs ticks written as "advanceMs:waiting=outcome". A waiting count
// followed by "n" ends in CR LF. The outcome is I (idle), R (receiving),
// T (exchange 1 timed out), C (exchange 1 completed) or c (completed with no
// exchange in flight).
class TestReception : public QObject {
    Q_OBJECT
private slots:
    void ticks_data() {
        QTest::addColumn<bool>("wakeUp");
        QTest::addColumn<QString>("script");
        QTest::newRow("complete one quiet tick after the line end")
            << false << "10:3=R 10:5n=R 10:5n=C 10:0=I";
        QTest::newRow("a pause of 3 ticks before the line end gives one completion")
            << false << "10:3=R 10:3=R 10:3=R 10:3=R 10:5n=R 10:5n=C 10:0=I";
        QTest::newRow("no line end: completes after 100 ms of quiet and not before")
            << false << "10:3=R 10:3=R 80:3=R 9:3=R 1:3=C";
        QTest::newRow("bytes still arriving never complete by quiet")
            << false << "60:1=R 60:2=R 60:3=R 60:4=R 10:4=R";
        QTest::newRow("time-out at the first tick past 0.1 s")
            << false << "50:0=I 45:0=I 10:0=T 10:0=I";
        QTest::newRow("wake-up characters allow 3 s") << true << "1000:0=I 1990:0=I 20:0=T";
        QTest::newRow("a late answer after the time-out belongs to no exchange")
            << false << "110:0=T 500:4n=R 10:4n=c";
        QTest::newRow("the rest of an answer split by a long pause belongs to no exchange")
            << false << "10:2=R 100:2=C 10:0=I 10:3n=R 10:3n=c";
        QTest::newRow("counts past 16 bits complete") << false << "10:40000n=R 10:40000n=C";
        QTest::newRow("bytes with nothing pending complete")
            << false << "nosend 10:0=I 10:2n=R 10:2n=c";
        QTest::newRow("a shrinking count waits for its line end") << false << "10:5=R 10:4n=C";
    }
    void ticks() {
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
            Reception::Start(state, 1, input.NowSeconds);

        for (const QString& step : steps) {
            const int colon = step.indexOf(QLatin1Char(':'));
            const int equals = step.indexOf(QLatin1Char('='));
            const qint64 advance = step.left(colon).toLongLong();
            QString waiting = step.mid(colon + 1, equals - colon - 1);
            input.WaitingEndsWithLineEnd = waiting.endsWith(QLatin1Char('n'));
            waiting.remove(QLatin1Char('n'));
            input.NowTick += advance;
            input.NowSeconds += advance / 1000.0;
            input.WaitingCount = waiting.toLongLong();
            const TickResult result = Reception::Tick(state, input);
            QString seen;
            switch (result.Outcome) {
            case TickOutcome::Idle:
                seen = QStringLiteral("I");
                break;
            case TickOutcome::Receiving:
                seen = QStringLiteral("R");
                break;
            case TickOutcome::TimedOut:
                seen = result.Exchange == 1 ? QStringLiteral("T") : QStringLiteral("t?");
                break;
            case TickOutcome::Completed:
                seen = result.Exchange == 1 ? QStringLiteral("C") : QStringLiteral("c");
                QCOMPARE(result.Bytes, input.WaitingCount);
                break;
            }
            QVERIFY2(seen == step.mid(equals + 1),
                     qPrintable(step + QLatin1String(" gave ") + seen));
        }
    }

    // The round trip counts from the operator's send (or from the first
    // completion when there was none); the gap from the previous completion.
    void roundTripAndGap() {
        ReceptionState state;
        TickInput input{4, true, 1.0, 777, false};
        Reception::Tick(state, input);
        TickResult result = Reception::Tick(state, input);
        QVERIFY(result.Outcome == TickOutcome::Completed);
        QCOMPARE(result.RoundTripMs, qint64(0));
        QCOMPARE(result.GapMs, qint64(0));

        input.WaitingCount = 2;
        input.NowTick += 250;
        Reception::Tick(state, input);
        input.NowTick += 10;
        result = Reception::Tick(state, input);
        QVERIFY(result.Outcome == TickOutcome::Completed);
        QCOMPARE(result.GapMs, qint64(260));
        QCOMPARE(result.RoundTripMs, qint64(260)); // not renewed without an operator's send
    }

    // Data that never pauses still completes, a bounded piece at a time.
    void floodIsTakenInBoundedPieces() {
        ReceptionState state;
        Reception::Start(state, 7, 1.0);
        TickInput input{Reception::MaxAnswerBytes * 3, false, 1.0, 1000, false};
        const TickResult result = Reception::Tick(state, input);
        QVERIFY(result.Outcome == TickOutcome::Completed);
        QCOMPARE(result.Bytes, Reception::MaxAnswerBytes);
        QCOMPARE(result.Exchange, ExchangeId(7));
        input.WaitingCount -= result.Bytes;
        input.NowTick += 10;
        QCOMPARE(Reception::Tick(state, input).Exchange, NoExchange);
    }

    void restartForgetsTheExchangeAndTheCount() {
        ReceptionState state;
        Reception::Start(state, 3, 1.0);
        TickInput input{5, false, 1.0, 1000, false};
        Reception::Tick(state, input);
        QCOMPARE(Reception::Restart(state), ExchangeId(3));
        QVERIFY(!Reception::NeedsTicks(state, 0));
        // Counted afresh: the same count is growth, not quiet.
        QVERIFY(Reception::Tick(state, input).Outcome == TickOutcome::Receiving);
        input.NowSeconds = 9.0;
        input.WaitingCount = 0;
        QVERIFY(Reception::Tick(state, input).Outcome == TickOutcome::Idle); // no time-out
    }
};

QTEST_APPLESS_MAIN(TestReception)
#include "tst_reception.moc"
