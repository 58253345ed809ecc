#include "measure/MeasurementRunner.h"
#include "support/EngineOnFakes.h"

#include <QtTest>

#include <optional>

// Whole measurements over the link engine, without a window: the start
// command, the wait for the data, the data commands, and what a port that
// goes away or is reopened meanwhile does to the measurement.
class TestMeasurementRunner : public QObject {
    Q_OBJECT
    std::optional<EngineOnFakes> line;
    std::optional<MeasurementRunner> runner;
    QList<MeasurementRecord> records;
    QStringList reports;

    void measure(const QString& method, int repeatSeconds = 0) {
        runner->start({'0'}, *MeasurementMethod::FromName(method), repeatSeconds);
    }
    QString lastResult() const {
        return records.isEmpty() ? QString() : MeasurementTable::ResultOf(records.last());
    }

private slots:
    void init() {
        line.emplace();
        runner.emplace(line->Link, line->Clock);
        records.clear();
        reports.clear();
        connect(&*runner, &MeasurementRunner::measurementEnded, this,
                [this](const MeasurementRecord& record) { records.append(record); });
        connect(&*runner, &MeasurementRunner::report, this,
                [this](const QString& text) { reports.append(text); });
        line->Serial.ClearSent();
    }
    void cleanup() {
        runner.reset();
        line.reset();
    }

    void measurementFromStartToValues() {
        measure("M");
        line->Answer("00013\r\n");
        QVERIFY(runner->waitTimer().Enabled());
        QCOMPARE(runner->waitTimer().Interval(), 1000);
        runner->waitTimer().RaiseTimer();
        line->Answer("0+1.5-2+3\r\n");
        QCOMPARE(line->Serial.Sent(), QByteArray("0M!0D0!"));
        QCOMPARE(lastResult(), "OK");
        QCOMPARE(records.last().Outcome.Values.size(), 3);
        QVERIFY(reports.isEmpty());
        QVERIFY(!runner->isRunning() && !line->Link.lineBusy());
    }

    // While the sensor measures, a port that goes away or is reopened fails
    // the measurement, even when it is back before the data is asked for.
    void portChangesWhileTheSensorMeasures_data() {
        QTest::addColumn<QString>("change");
        QTest::newRow("device gone") << "lost";
        QTest::newRow("device gone and back") << "lost and back";
        QTest::newRow("reopened by the operator") << "reopened";
    }
    void portChangesWhileTheSensorMeasures() {
        QFETCH(QString, change);
        measure("M", 10);
        line->Answer("00053\r\n");
        if (change.startsWith("lost"))
            line->Serial.LoseDevice();
        if (change == "lost and back")
            line->Link.tmrReopen_Timer();
        if (change == "reopened")
            line->Link.chooseLineSettings("1200,E,7,1");
        QCOMPARE(lastResult(), "the port was lost while the sensor measured");
        QCOMPARE(reports.last(), "Measurement failed: the port was lost while the sensor measured");
        QVERIFY(!runner->waitTimer().Enabled());
        QVERIFY(runner->isRunning()); // the next cycle comes on its time
        QVERIFY(runner->cycleTimer().Enabled());
        QCOMPARE(line->Serial.Sent().count("D0!"), 0);
    }

    // The measurement's first command waits for an exchange in flight, then
    // nothing cuts into the measurement until its last value.
    void measurementWaitsItsTurn() {
        line->Link.sendCommand("0I!");
        measure("C");
        QCOMPARE(line->Serial.Sent(), QByteArray("0I!"));
        line->Answer("013QUENVRELPRBSIM100SIM0001\r\n");
        QCOMPARE(line->Serial.Sent(), QByteArray("0I!0C!"));
        line->Answer("000102\r\n");
        QCOMPARE(line->Link.sendCommand("0I!").What, SendOutcome::Kind::Held);
        runner->waitTimer().RaiseTimer();
        line->Answer("0+1+2\r\n");
        QCOMPARE(lastResult(), "OK");
        QVERIFY(line->Link.sendCommand("0I!").IsSent());
    }

    // Several sensors: one record each per cycle, in their order, with the
    // cycle's time; a cycle that overruns its period starts the next at once
    // and is counted.
    void severalSensorsAndOverruns() {
        QSignalSpy overruns(&*runner, &MeasurementRunner::overrunsChanged);
        runner->start({'0', '3'}, *MeasurementMethod::FromName("C"), 1);
        line->Answer("000102\r\n");
        line->Answer("300201\r\n");
        QCOMPARE(runner->waitTimer().Interval(), 2000);
        line->Clock.Advance(2000);
        runner->waitTimer().RaiseTimer();
        line->Answer("0+1+2\r\n");
        line->Answer("3+7\r\n");
        QCOMPARE(line->Serial.Sent(), QByteArray("0C!3C!0D0!3D0!"));
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).Address, QChar('0'));
        QCOMPARE(records.at(1).Address, QChar('3'));
        QCOMPARE(records.at(1).Command, "3C!");
        QCOMPARE(records.at(0).Time, records.at(1).Time);
        QCOMPARE(overruns.count(), 1);
        QCOMPARE(runner->overruns(), 1);
        QCOMPARE(runner->cycleTimer().Interval(), 1);
    }

    void failuresAreNamed_data() {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("event");
        QTest::addColumn<QString>("result");
        QTest::newRow("no answer") << "M"
                                   << "silence"
                                   << "no answer to 0M!";
        QTest::newRow("stopped") << "M"
                                 << "stop"
                                 << "Stopped";
        QTest::newRow("another address") << "R0"
                                         << "1+3"
                                         << "address 1, not 0";
    }
    void failuresAreNamed() {
        QFETCH(QString, method);
        QFETCH(QString, event);
        QFETCH(QString, result);
        measure(method);
        if (event == "silence")
            line->Silence();
        else if (event == "stop")
            runner->stop();
        else
            line->Answer(event.toLatin1() + "\r\n");
        QVERIFY2(lastResult().contains(result), qPrintable(lastResult()));
        QCOMPARE(reports.last(), event == "stop" ? result : "Measurement failed: " + lastResult());
    }
};

QTEST_MAIN(TestMeasurementRunner)
#include "tst_measurementrunner.moc"
