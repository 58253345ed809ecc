#include "FakeBus.h"
#include "sensors/SensorBus.h"

#include <QtTest>

#include <optional>

// The Sensors tab's work over the link engine, without a window: each piece
// a conversation nobody cuts into, with the recorders' retries on the line.
class TestSensorBus : public QObject {
    Q_OBJECT
    std::optional<EngineOnFakes> line;
    std::optional<SensorBus> bus;
    FakeBus sensors;
    QList<ScanFinding> findings;

    QStringList sent() const {
        QStringList commands;
        for (const QList<QVariant>& transmitted : line->Transmitted)
            commands << transmitted.at(1).toString();
        return commands;
    }
    void serve() {
        sensors.serve(
            *line, [this] { return bus->isBusy(); }, bus->waitTimer());
    }
    QString found() const {
        QString addresses;
        for (const ScanFinding& finding : findings) {
            if (finding.What == ScanFinding::Kind::Found)
                addresses += finding.Address;
        }
        return addresses;
    }

private slots:
    void init() {
        line.emplace();
        bus.emplace(line->Link);
        bus->setRetries(RetrySettings{true, 60});
        sensors = FakeBus{{{'0', "SIM0001"}, {'3', "SIM0002"}}, {}};
        findings.clear();
        connect(&*bus, &SensorBus::addressScanned, this,
                [this](const ScanFinding& finding) { findings << finding; });
    }
    void cleanup() {
        bus.reset();
        line.reset();
    }

    // Each address gets one round of three tries, the first with the break;
    // the found ones are identified at once, with their round trips.
    void scanOfZeroToNine() {
        bus->scan(BusAddresses::Range::Standard);
        serve();
        QCOMPARE(found(), "03");
        QCOMPARE(findings.size(), 10);
        QCOMPARE(findings.at(0).Identity->Rest, "SIM0001");
        QCOMPARE(findings.at(3).Identity->Rest, "SIM0002");
        QVERIFY(findings.first().RoundTripMs >= 0);
        const QStringList commands = sent();
        QCOMPARE(commands.mid(0, 5), QStringList({"0!", "0I!", "1!", "1!", "1!"}));
        QCOMPARE(commands.size(), 2 * 2 + 8 * 3);
        // A break for each address; "aI!" follows the sensor's answer without.
        QCOMPARE(line->Serial.Calls().count("Break=on"), 10);
        QVERIFY(!commands.contains("?!"));
    }

    // While the scan holds the line, the operator's sends are refused with
    // its reason; Stop ends it and gives the line back.
    void theScanHoldsTheLine() {
        QSignalSpy ended(&*bus, &SensorBus::scanEnded);
        bus->scan(BusAddresses::Range::All);
        const SendOutcome press = line->Link.sendCommand("0I!");
        QCOMPARE(press.What, SendOutcome::Kind::Held);
        QVERIFY(press.Reason.contains("scan of the bus"));
        bus->stop();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().at(0).toBool(), true);
        QVERIFY(!bus->isBusy());
        QVERIFY(line->Link.sendCommand("0I!").IsSent());
    }

    // A lost answer costs a retry without the break; nothing is reported
    // missing.
    void lostAnswersAreAskedAgain() {
        sensors.Lost.insert("0!", 2);
        sensors.Lost.insert("3I!", 1);
        bus->scan(BusAddresses::Range::Standard);
        serve();
        QCOMPARE(found(), "03");
        QCOMPARE(findings.at(0).Retries, 2);
        QCOMPARE(findings.at(3).Retries, 1);
        QVERIFY(findings.at(3).Identity);
    }

    // Two sensors answer "?!" together: nothing but "?!" goes out.
    void addressChangeGuardedByTheQuery() {
        QSignalSpy ended(&*bus, &SensorBus::addressChangeEnded);
        bus->changeAddress('3', '5', false);
        serve();
        QCOMPARE(sent(), QStringList(9, "?!"));
        QVERIFY(ended.first().at(2).value<AddressChangeOutcome>().Report.contains(
            "several sensors answer"));
        QVERIFY(sensors.Serials.contains('3'));
    }

    // Stopped while it waits for the line: it ends, and nothing is sent.
    void stoppedBeforeItsTurn() {
        line->Link.sendCommand("0I!");
        QSignalSpy ended(&*bus, &SensorBus::metadataEnded);
        bus->readMetadata('0', *MeasurementMethod::FromName("M"));
        bus->stop();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().at(2).value<MethodMetadata>().Fault, "Stopped");
        line->Answer("013QUENVRELPRBSIM100SIM0001\r\n");
        QCOMPARE(sent(), QStringList({"0I!"}));
    }
};

QTEST_MAIN(TestSensorBus)
#include "tst_sensorbus.moc"
