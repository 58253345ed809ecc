#include "platform/serial/TermiosSerialPort.h"
#include "support/SimulatorProcess.h"
#include "tools/sim/LineDamage.h"
#include "tools/sim/LineNoise.h"
#include "tools/sim/Printable.h"
#include "tools/sim/SensorModel.h"

#include <QtTest>

namespace {

// The measurement commands of every kind and number, as text after the address.
QStringList measurementCommands() {
    QStringList commands{"V"};
    for (const char* kind : {"M", "MC", "C", "CC"}) {
        commands << kind;
        for (int index = 1; index <= 9; ++index)
            commands << kind + QString::number(index);
    }
    return commands;
}

QString answerTo(SensorModel& sensors, const QString& command,
                 SensorModel::Clock::time_point now = {}) {
    return QString::fromStdString(
        printable(sensors.respond(command.toStdString(), now).answer.value_or("")));
}

// Opens the simulator's device as ProbeTerm does.
void openOn(TermiosSerialPort& port, const SimulatorProcess& sim) {
    port.setPortName(sim.DevicePath());
    port.setIsOpen(true);
}

// Sends a command and waits for its whole answer.
QByteArray exchange(TermiosSerialPort& port, const QByteArray& command) {
    port.Transmit(command);
    if (!QTest::qWaitFor([&] { return port.PeekWaiting().endsWith("\r\n"); }, 5000))
        return {};
    return port.ReadAll();
}

// What became of twenty "0!" on a noisy line with a fixed seed, one report
// line each; a line saying so where the port got other than reported.
QStringList noisyRun() {
    SimulatorProcess sim({"--drop", "0.3", "--garble", "0.3", "--seed", "11"});
    TermiosSerialPort port;
    openOn(port, sim);
    QStringList outcomes;
    const QRegularExpression outcome("^(tx|lost) ");
    for (int i = 0; i < 20; ++i) {
        port.Transmit("0!");
        if (!QTest::qWaitFor([&] { return sim.Lines().filter(outcome).size() > i; }, 5000))
            return outcomes << "no outcome";
        const QString line = sim.Lines().filter(outcome).last();
        outcomes << line;
        if (line.startsWith("lost"))
            continue;
        // The report comes once the last byte is out.
        const bool whole =
            QTest::qWaitFor([&] { return port.PeekWaiting().endsWith("\r\n"); }, 5000);
        const QByteArray received = port.ReadAll();
        if (!whole ||
            line != "tx " + QString::fromStdString(printable(received.chopped(2).toStdString())))
            return outcomes << "the port got " + received.toHex();
    }
    return outcomes;
}

} // namespace

// Several sensors on one bus, the line between them and the recorder, and
// the pace of a sensor that runs faster than a real one.
class TestSimBus : public QObject {
    Q_OBJECT

private slots:
    // An identify-measurement command answers as its measurement command
    // would, at any pace, and leaves the sensor's data and drift alone.
    void identifyAnswersAsTheMeasurement_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<double>("timeScale");
        for (const QString& command : measurementCommands()) {
            for (const double timeScale : {1.0, 20.0})
                QTest::addRow("%s, %g times faster", qPrintable(command), timeScale)
                    << command << timeScale;
        }
    }
    void identifyAnswersAsTheMeasurement() {
        QFETCH(QString, command);
        QFETCH(double, timeScale);
        SensorModel identified("0", BusSettings{false, TimeScale(timeScale)});
        SensorModel measured("0", BusSettings{false, TimeScale(timeScale)});
        SensorModel untouched("0");
        const QString data = answerTo(identified, "0D0!");
        const Reply promise = identified.respond(("0I" + command + "!").toStdString(), {});
        QVERIFY(!promise.followUp);
        QCOMPARE(QString::fromStdString(promise.answer.value_or("")),
                 answerTo(measured, "0" + command + "!"));
        QCOMPARE(answerTo(identified, "0D0!"), data);
        QCOMPARE(answerTo(identified, "0R0!"), answerTo(untouched, "0R0!"));
    }

    // Every value of every measurement has its parameter, in a well-formed
    // answer of at most 75 characters up to the ";"; the one past the last
    // answers the address alone. R0..R9 share the parameters of M, M1 ...
    void parametersDescribeEveryValue_data() {
        QTest::addColumn<QString>("command");
        for (const QString& command : measurementCommands()) {
            if (!command.startsWith("MC") && !command.startsWith("CC"))
                QTest::newRow(qPrintable(command)) << command;
        }
    }
    void parametersDescribeEveryValue() {
        QFETCH(QString, command);
        SensorModel sensors("0");
        const QString promise = answerTo(sensors, "0I" + command + "!");
        const int count = promise.mid(4).toInt();
        const QRegularExpression described("^0,[^,;]+,[^,;]+(,[^,;]+)*;$");
        for (int parameter = 1; parameter <= count + 1; ++parameter) {
            const QString number = QString("_%1!").arg(parameter, 3, 10, QChar('0'));
            const QString answer = answerTo(sensors, "0I" + command + number);
            if (parameter > count) {
                QCOMPARE(answer, "0");
                break;
            }
            QVERIFY2(described.match(answer).hasMatch() && answer.size() <= 75, qPrintable(answer));
            if (command.size() == 2 && command[0] == 'M')
                QCOMPARE(answerTo(sensors, "0IR" + command.mid(1) + number), answer);
        }
    }

    // What the recorder reads when several sensors answer together.
    void collisions_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("received");
        QTest::newRow("one answer passes") << QStringList{"0KV"} << "0KV";
        QTest::newRow("addresses differ, the rest agrees")
            << QStringList{"0KV", "3KV"} << "\\xB0KV";
        QTest::newRow("three, common bits") << QStringList{"A", "B", "C"} << "\\xC0";
        QTest::newRow("one ends first") << QStringList{"0ab", "0a"} << "0a\\xE2";
    }
    void collisions() {
        QFETCH(QStringList, answers);
        std::vector<std::string> sent;
        for (const QString& answer : answers)
            sent.push_back(answer.toStdString());
        QTEST(QString::fromStdString(printable(LineDamage::collided(sent))), "received");
    }

    // Over many answers the line loses and damages about as many as asked,
    // a damaged answer differs from the sent one in exactly one character,
    // which has its eighth bit set, and a sound one arrives unchanged.
    void noiseKeepsToItsChances_data() {
        QTest::addColumn<double>("drop");
        QTest::addColumn<double>("garble");
        QTest::newRow("none") << 0.0 << 0.0;
        QTest::newRow("all lost") << 1.0 << 0.0;
        QTest::newRow("all damaged") << 0.0 << 1.0;
        QTest::newRow("a third of each") << 0.3 << 0.3;
    }
    void noiseKeepsToItsChances() {
        QFETCH(double, drop);
        QFETCH(double, garble);
        LineNoise noise(drop, garble, 1);
        const std::string sent = "0+21.37+1013.2+12.64";
        const int answers = 4000;
        int lost = 0;
        int damaged = 0;
        for (int i = 0; i < answers; ++i) {
            const std::optional<std::string> received = noise.pass(sent);
            if (!received) {
                ++lost;
                continue;
            }
            QCOMPARE(received->size(), sent.size());
            int differing = 0;
            for (std::size_t at = 0; at < sent.size(); ++at) {
                if ((*received)[at] != sent[at]) {
                    ++differing;
                    QCOMPARE((*received)[at], LineDamage::damaged(sent[at]));
                }
            }
            QVERIFY(differing <= 1);
            damaged += differing;
        }
        QVERIFY2(qAbs(lost - drop * answers) < 0.02 * answers, qPrintable(QString::number(lost)));
        const double passed = answers - lost;
        QVERIFY2(qAbs(damaged - garble * passed) < 0.02 * answers,
                 qPrintable(QString::number(damaged)));
    }

    // The same seed gives the same run; another seed another.
    void noiseRepeatsWithItsSeed() {
        const auto run = [](std::uint32_t seed) {
            LineNoise noise(0.3, 0.3, seed);
            QStringList received;
            for (int i = 0; i < 50; ++i)
                received << QString::fromStdString(printable(noise.pass("0+1.5").value_or("-")));
            return received;
        };
        QCOMPARE(run(7), run(7));
        QVERIFY(run(7) != run(8));
    }

    // Through probeterm-sim: each sensor on the bus identifies itself, and
    // "?!" to both reaches the port as a damaged character, not an address.
    void twoSensorsShareTheLine() {
        SimulatorProcess sim({"--address", "03"});
        TermiosSerialPort port;
        openOn(port, sim);
        QCOMPARE(exchange(port, "0I!"), "013QUENVRELPRBSIM100SIM0001\r\n");
        QCOMPARE(exchange(port, "3I!"), "313QUENVRELPRBSIM100SIM0002\r\n");
        QCOMPARE(exchange(port, "?!"), "\xB0\r\n");
        QCOMPARE(exchange(port, "3IMC_001!"), "3,TA,degC,air temperature;@dX\r\n");
    }

    // Sensor 3 takes address 5: after its quiet time (a tenth of a second, ten
    // times faster) it answers at 5, and no longer at 3.
    void changesAnAddress() {
        SimulatorProcess sim({"--address", "03", "--time-scale", "10"});
        TermiosSerialPort port;
        openOn(port, sim);
        QElapsedTimer changing;
        changing.start();
        QCOMPARE(exchange(port, "3A5!"), "5\r\n");
        const auto answeredAt5 = [&] { return sim.Lines().count("tx 5") == 2; };
        while (!answeredAt5() && changing.elapsed() < 5000) {
            port.Transmit("5!");
            static_cast<void>(QTest::qWaitFor(answeredAt5, 100));
        }
        QVERIFY(answeredAt5());
        QVERIFY2(changing.elapsed() >= 100, qPrintable(QString::number(changing.elapsed())));
        // Answers keep the commands' order, so 3's would come before 0's.
        port.Transmit("3!");
        port.Transmit("0!");
        QVERIFY(sim.WaitForLine("tx 0"));
        QVERIFY(!sim.Lines().contains("tx 3"));
    }

    // Twenty times faster, an M promises its data in a second and its service
    // request comes after a twentieth of the full 1.2 s, well within the promise.
    void runsFaster() {
        SimulatorProcess sim({"--time-scale", "20"});
        TermiosSerialPort port;
        openOn(port, sim);
        QElapsedTimer sent;
        qint64 requestMs = -1;
        connect(&port, &ISerialPort::BytesReceived, [&] {
            if (requestMs < 0 && port.PeekWaiting().endsWith("\r\n0\r\n"))
                requestMs = sent.elapsed();
        });
        sent.start();
        port.Transmit("0M!");
        QTRY_VERIFY_WITH_TIMEOUT(requestMs >= 0, 5000);
        QCOMPARE(port.ReadAll(), "00013\r\n0\r\n");
        QVERIFY2(requestMs >= 60 && requestMs < 1000, qPrintable(QString::number(requestMs)));
    }

    // A run with a seed repeats exactly: the same answers lost, the same
    // characters damaged, and the port gets what the simulator reports.
    void noisyRunRepeatsWithASeed() {
        const QStringList first = noisyRun();
        QCOMPARE(noisyRun(), first);
        QVERIFY2(first.contains("lost 0") && first.contains("tx \\xB0") && first.contains("tx 0"),
                 qPrintable(first.join(", ")));
    }

    void refusesBadSwitches_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("error");
        QTest::newRow("chance above 1") << "--drop 1.5"
                                        << "--drop needs a chance from 0 to 1";
        QTest::newRow("negative chance") << "--garble -0.1"
                                         << "--garble needs a chance";
        QTest::newRow("not a number") << "--drop nan"
                                      << "--drop needs a chance";
        QTest::newRow("scale not a number") << "--time-scale fast"
                                            << "--time-scale needs a number";
        QTest::newRow("slower") << "--time-scale 0.5"
                                << "--time-scale needs a number from 1";
        QTest::newRow("seed past 32 bits") << "--seed 4294967296"
                                           << "--seed needs a whole number";
    }
    void refusesBadSwitches() {
        QFETCH(QString, arguments);
        QProcess sim;
        sim.start(qEnvironmentVariable("PROBETERM_SIM"), arguments.split(' '));
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 2);
        QFETCH(QString, error);
        const QString said = QString::fromLocal8Bit(sim.readAllStandardError());
        QVERIFY2(said.contains(error), qPrintable(said));
    }

    // The help names every switch, and needs no display to show it.
    void helpsWithoutADisplay() {
        QProcess sim;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(variable);
        sim.setProcessEnvironment(environment);
        sim.start(qEnvironmentVariable("PROBETERM_SIM"), {"--help"});
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(sim.exitCode(), 0);
        const QString help = QString::fromLocal8Bit(sim.readAllStandardOutput());
        for (const char* name : {"address", "link", "wakeup", "late", "pause-at", "pause", "silent",
                                 "quiet", "bad-crc", "time-scale", "drop", "garble", "seed"})
            QVERIFY2(help.contains(QString("--%1 ").arg(name)), name);
    }
};

QTEST_GUILESS_MAIN(TestSimBus)
#include "tst_simbus.moc"
