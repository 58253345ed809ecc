#include "measure/MeasurementCycle.h"

#include <QTest>

namespace {

// Plays a script of events on a cycle and writes down every step it asks
// for. Events: "A:<answer>" answered ("\n" stands for CR LF), "T" timed out,
// "N" not sent, "L:<line>" a line outside any exchange, "W" the wait
// elapsed, "P" the port changed, "S" Stop.
QString play(MeasurementCycle& cycle, const QStringList& events) {
    QStringList steps;
    const auto note = [&steps](const ConversationStep& step) {
        switch (step.What) {
        case ConversationStep::Kind::Send:
            steps << step.Command;
            break;
        case ConversationStep::Kind::Wait:
            steps << QStringLiteral("wait %1").arg(step.WaitMs);
            break;
        case ConversationStep::Kind::Finish:
            steps << QStringLiteral("finish");
            break;
        case ConversationStep::Kind::CarryOn:
            break;
        }
    };
    note(cycle.Begin());
    for (const QString& event : events) {
        const QByteArray text = event.mid(2).toLatin1().replace("\n", "\r\n");
        if (event.startsWith(QLatin1String("A:")))
            note(cycle.ExchangeEnded(ExchangeOutcome::Answered, text));
        else if (event.startsWith(QLatin1String("L:")))
            note(cycle.LineReceived(text));
        else if (event == QLatin1String("T"))
            note(cycle.ExchangeEnded(ExchangeOutcome::TimedOut, QByteArray()));
        else if (event == QLatin1String("N"))
            note(cycle.NotSent(QStringLiteral("No such port")));
        else if (event == QLatin1String("W"))
            note(cycle.WaitElapsed());
        else if (event == QLatin1String("P"))
            note(cycle.PortChanged());
        else if (event == QLatin1String("S"))
            note(cycle.Stop());
    }
    return steps.join(QLatin1Char(' '));
}

QString results(const MeasurementCycle& cycle) {
    QStringList results;
    for (const MeasurementOutcome& outcome : cycle.Outcomes())
        results << (outcome.IsComplete() ? QStringLiteral("OK") : outcome.Fault);
    return results.join(QStringLiteral(" | "));
}

} // namespace

// The measurements of several sensors in one cycle: concurrent methods
// start every sensor, wait for the longest promise and then collect; the
// others measure one sensor after another. One sensor's failure is its own.
class TestMeasurementCycle : public QObject {
    Q_OBJECT
private slots:
    void cycle_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("addresses");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("results");
        QTest::newRow("concurrent: start all, wait the longest, collect")
            << "C"
            << "035" << QStringList{"A:000102\n", "A:300303\n",  "A:500201\n", "W",
                                    "A:0+1+2\n",  "A:3+1+2+3\n", "A:5+9\n"}
            << "0C! 3C! 5C! wait 3000 0D0! 3D0! 5D0! finish"
            << "OK | OK | OK";
        QTest::newRow("concurrent: one sensor silent, the others measured")
            << "C"
            << "035" << QStringList{"A:000102\n", "T", "A:500201\n", "W", "A:0+1+2\n", "A:5+9\n"}
            << "0C! 3C! 5C! wait 2000 0D0! 5D0! finish"
            << "OK | no answer to 3C! | OK";
        QTest::newRow("concurrent: data ready at once waits for the collecting")
            << "C"
            << "03" << QStringList{"A:000002\n", "A:300101\n", "W", "A:0+1+2\n", "A:3+4\n"}
            << "0C! 3C! wait 1000 0D0! 3D0! finish"
            << "OK | OK";
        QTest::newRow("concurrent: the port changes during the wait")
            << "C"
            << "03" << QStringList{"A:000102\n", "A:300101\n", "P"} << "0C! 3C! wait 1000 finish"
            << "the port was lost while the sensor measured | the port was lost while the "
               "sensor measured";
        QTest::newRow("in turn: each sensor measured whole, service request honoured")
            << "M"
            << "03" << QStringList{"A:00011\n", "L:0\n", "A:0+1\n", "A:30011\n", "W", "A:3+2\n"}
            << "0M! wait 1000 0D0! 3M! wait 1000 3D0! finish"
            << "OK | OK";
        QTest::newRow("in turn: a send that fails moves on to the next sensor")
            << "R0"
            << "03" << QStringList{"N", "A:3+2\n"} << "0R0! 3R0! finish"
            << "0R0! could not be sent: No such port | OK";
        QTest::newRow("stopped: every sensor not yet measured says so")
            << "M"
            << "035" << QStringList{"A:00011\n", "W", "A:0+1\n", "A:30011\n", "S"}
            << "0M! wait 1000 0D0! 3M! wait 1000 finish"
            << "OK | Stopped | Stopped";
    }
    void cycle() {
        QFETCH(QString, method);
        QFETCH(QString, addresses);
        QFETCH(QStringList, events);
        QList<QChar> sensors;
        for (const QChar address : addresses)
            sensors << address;
        MeasurementCycle cycle(sensors, *MeasurementMethod::FromName(method));
        QTEST(play(cycle, events), "steps");
        QFETCH(QString, results);
        QVERIFY2(::results(cycle).startsWith(results), qPrintable(::results(cycle)));
        QVERIFY(cycle.IsOver());
    }

    // With the recorders' retries, each sensor's commands are tried again
    // where they stand in the cycle, and each sensor counts its own.
    void retries_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("retries");
        QTest::newRow("concurrent: a lost start and a lost data answer")
            << "C" << QStringList{"T", "A:000101\n", "A:300101\n", "W", "T", "A:0+1\n", "A:3+2\n"}
            << "0C! 0C! 3C! wait 1000 0D0! 0D0! 3D0! finish"
            << "2 0";
        QTest::newRow("in turn: an answer from another address")
            << "R0" << QStringList{"A:1+1\n", "A:0+1\n", "A:3+2\n"} << "0R0! 0R0! 3R0! finish"
            << "1 0";
    }
    void retries() {
        QFETCH(QString, method);
        QFETCH(QStringList, events);
        MeasurementCycle cycle({'0', '3'}, *MeasurementMethod::FromName(method),
                               RetrySettings{true, 60});
        QTEST(play(cycle, events), "steps");
        QStringList retries;
        for (const MeasurementOutcome& outcome : cycle.Outcomes()) {
            QVERIFY2(outcome.IsComplete(), qPrintable(outcome.Fault));
            retries << QString::number(outcome.Retries);
        }
        QTEST(retries.join(QLatin1Char(' ')), "retries");
    }
};

QTEST_APPLESS_MAIN(TestMeasurementCycle)
#include "tst_measurementcycle.moc"
