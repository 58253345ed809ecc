#include "measure/MeasurementAnswers.h"
#include "platform/serial/TermiosSerialPort.h"
#include "support/SimulatorProcess.h"
#include "tools/sim/CommandFramer.h"
#include "tools/sim/Printable.h"
#include "tools/sim/SensorModel.h"

#include <QtTest>

class TestSim : public QObject {
    Q_OBJECT

private slots:
    // Each row runs "command>answer" exchanges, split by "|", in order on fresh
    // sensors; "+n" lets n milliseconds pass. An empty answer stands for
    // silence, a damaged character shows as \xNN; a setting the command wrote
    // follows in brackets, a service request the sensor will send in angle
    // brackets. The CRCs here were worked out apart from the product's own
    // CRC code.
    void answers_data() {
        QTest::addColumn<QString>("addresses");
        QTest::addColumn<double>("timeScale");
        QTest::addColumn<QString>("exchanges");
        QTest::newRow("one sensor, values drifting between measurements")
            << "0" << 1.0
            << "0!>0|?!>0|?X!>0KV|0I!>013QUENVRELPRBSIM100SIM0001|0Z!>|0D0!>0|"
               "0M!>00023 <0 in 1200 ms>|0D0!>0+21.37+1013.2+12.64|0D1!>0|0C!>000103|"
               "0D0!>0+21.39+1013.3+12.63|0R0!>0+21.41+1013.4+12.62";
        QTest::newRow("CRC on each data answer")
            << "0" << 1.0
            << "0MC!>00023 <0 in 1200 ms>|0D0!>0+21.37+1013.2+12.64Hw~|0D1!>0AP@|"
               "0RC0!>0+21.39+1013.3+12.63DF`|0M!>00023 <0 in 1200 ms>|0D1!>0";
        QTest::newRow("a profile over two data answers, other sets, none from M4 on")
            << "0" << 1.0
            << "0M1!>00029 <0 in 1200 ms>|0D0!>0+21.37+20.96+20.55+20.14+19.73|"
               "0D1!>0+19.32+18.91+18.50+18.09|0D2!>0|0C1!>000109|0M2!>00021 <0 in 1200 ms>|"
               "0D0!>0+48.4|0R3!>0-0.15+8.00|0M4!>00000|0C9!>000000|0R9!>0|"
               "0V!>00023 <0 in 1200 ms>|0D0!>0+0+2.500+12.63";
        QTest::newRow("no measurement without its number")
            << "0" << 1.0 << "0M0!>|0C0!>|0R!>|0RC!>|0MCC!>|0M12!>|0VC!>|0D!>|0DA!>";
        QTest::newRow("address change: refused when taken or invalid, deaf for 1 s after")
            << "50" << 1.0
            << "?!>\\xB0|0A5!>0|0A*!>0|0!>0|0A3!>3|3!>|?!>5|5A3!>5|+999|3!>|+1|3!>3|0!>|"
               "?!>\\xB1";
        QTest::newRow("a lone sensor that is deaf leaves the bus silent")
            << "0" << 1.0 << "0A4!>4|?!>|+1000|?!>4";
        QTest::newRow("sensors with identifications and values of their own")
            << "03" << 1.0
            << "3I!>313QUENVRELPRBSIM100SIM0002|0XIS!>0SIM0001|3XIS!>3SIM0002|"
               "0R0!>0+21.37+1013.2+12.64|3R0!>3+21.51+1013.9+12.63|?X!>\\xB0KV";
        QTest::newRow("settings per sensor, malformed writes")
            << "05" << 1.0
            << "0XB7!>0XB7 [XB 7]|0XB?!>0XB7|5XB?!>5XB3|0XRA-1.25!>0XRA-1.25 [XRA -1.25]|"
               "0XSRIVER 02!>0XSRIVER 02 [XS RIVER 02]|0XB12!>0ERR|0XW5!>0ERR|0XRA1.2.3!>0ERR|"
               "0XOPM1021!>0ERR";
        QTest::newRow("identify measurement: the promise, no measuring")
            << "0" << 1.0
            << "0M!>00023 <0 in 1200 ms>|0IM!>00023|0IC!>000103|0IV!>00023|0IM4!>00000|"
               "0IR0!>|0IRC0!>|0IR!>|0IM0!>|0IX!>|0D0!>0+21.37+1013.2+12.64|"
               "0R0!>0+21.39+1013.3+12.63";
        QTest::newRow("parameters: name, unit (a blank for none) and more")
            << "0" << 1.0
            << "0IM_001!>0,TA,degC,air temperature;|0IC_002!>0,PA,hPa,atmospheric pressure;|"
               "0IR0_003!>0,VB,V,supply voltage;|0IM_004!>0|0IM_999!>0|"
               "0IC1_009!>0,TW9,degC,water temperature,4.5 m deep;|"
               "0IM2_001!>0,XR,%,relative humidity;|0IR3_002!>0,WV,m/s,flow velocity;|"
               "0IV_001!>0,ST, ,self-test status (0 sound);|0IV_002!>0,VR,V,reference voltage;|"
               "0IM9_001!>0";
        QTest::newRow("parameters with a CRC")
            << "0" << 1.0
            << "0IMC_001!>0,TA,degC,air temperature;DdS|"
               "0ICC1_009!>0,TW9,degC,water temperature,4.5 m deep;@cN|"
               "0IRC0_003!>0,VB,V,supply voltage;HRm|0IMC_004!>0AP@|0IRC3_001!>0,HG,m,water "
               "level;F}r";
        QTest::newRow("no parameter without three digits from 001, or of no command")
            << "0" << 1.0
            << "0IM_000!>|0IM_01!>|0IM_0001!>|0IM_00a!>|0IM_!>|0I_001!>|0IR_001!>|0IRC_001!>|"
               "0IC0_001!>|0IMM_001!>|0IM__001!>|0IM_001_!>";
        QTest::newRow("20 times faster: promises of whole seconds, rounded up")
            << "0" << 20.0
            << "0M!>00013 <0 in 60 ms>|0C!>000103|0IM!>00013|0IC1!>000109|"
               "0V!>00013 <0 in 60 ms>|0M4!>00000|0A5!>5|+49|5!>|+1|5!>5";
        QTest::newRow("1.5 times faster")
            << "0" << 1.5 << "0M!>00023 <0 in 800 ms>|0IMC!>00023|0CC!>000103";
    }
    void answers() {
        QFETCH(QString, addresses);
        QFETCH(double, timeScale);
        QFETCH(QString, exchanges);
        SensorModel sensors(addresses.toStdString(), BusSettings{false, TimeScale(timeScale)});
        SensorModel::Clock::time_point now;
        for (const QString& exchange : exchanges.split('|')) {
            if (exchange.startsWith('+')) {
                now += std::chrono::milliseconds(exchange.mid(1).toInt());
                continue;
            }
            const QString command = exchange.section('>', 0, 0);
            const Reply reply = sensors.respond(command.toStdString(), now);
            std::string answer = printable(reply.answer.value_or(""));
            if (reply.change)
                answer += " [" + reply.change->base + " " + reply.change->value + "]";
            if (reply.followUp)
                answer += " <" + reply.followUp->line + " in " +
                          std::to_string(reply.followUp->delay.count()) + " ms>";
            QCOMPARE(command + ">" + QString::fromStdString(answer), exchange);
        }
    }

    // Each CRC-checked answer passes the receiver's check, and fails it when
    // the sensor corrupts its CRCs, in the last character alone.
    void crcs_data() {
        QTest::addColumn<QString>("commands"); // the last one's answer is read
        QTest::addColumn<int>("values");
        QTest::newRow("MC, D0") << "0MC!|0D0!" << 3;
        QTest::newRow("CC1, the profile's second part") << "0CC1!|0D1!" << 4;
        QTest::newRow("MC1, past the data") << "0MC1!|0D2!" << 0;
        QTest::newRow("RC0") << "0RC0!" << 3;
        QTest::newRow("RC9, no values") << "0RC9!" << 0;
    }
    void crcs() {
        QFETCH(QString, commands);
        QFETCH(int, values);
        SensorModel sound("0");
        SensorModel corrupting("0", BusSettings{true, TimeScale()});
        const SensorModel::Clock::time_point now;
        QByteArray answer, corrupted;
        for (const QString& command : commands.split('|')) {
            answer = QByteArray::fromStdString(*sound.respond(command.toStdString(), now).answer);
            corrupted =
                QByteArray::fromStdString(*corrupting.respond(command.toStdString(), now).answer);
        }
        const auto reading = MeasurementAnswers::ReadValues(answer + "\r\n", '0', true);
        QVERIFY2(reading.IsSound(), qPrintable(reading.Fault));
        QCOMPARE(reading.Content.size(), values);
        QCOMPARE(corrupted.chopped(1), answer.chopped(1));
        const QString fault = MeasurementAnswers::ReadValues(corrupted + "\r\n", '0', true).Fault;
        QVERIFY2(fault.startsWith("CRC mismatch"), qPrintable(fault));
    }

    // Chunks as they come off the line: wake-up bytes (\376) and noise are
    // dropped, a command may be split across reads, and the parity bit is
    // stripped from the text but kept in the report. Each command shows as its
    // text, as reported, and its count of wake-up bytes.
    void framesCommands() {
        const QByteArrayList chunks{QByteArray("\376\376\3760!\r\n\0\3761X", 11), "B?",
                                    "!\xB0I\x01\\!"};
        CommandFramer framer;
        QStringList commands;
        for (const QByteArray& chunk : chunks)
            for (const ReceivedCommand& command : framer.feed(chunk.constData(), chunk.size()))
                commands << QString::fromStdString(command.text + "|" + printable(command.raw) +
                                                   "|" + std::to_string(command.wakeUps));
        QCOMPARE(commands,
                 QStringList({"0!|0!|3", "1XB?!|1XB?!|1", "0I\x01\\!|\\xB0I\\x01\\x5C!|0"}));
    }

    // Through probeterm-sim on its pseudo-terminal, with a fresh open for each
    // command as ProbeTerm reopens its port at every settings choice. Two
    // wake-up bytes (\376) are too few. With three, each character of the answer
    // is due 10 ms turnaround plus 200 ms lateness, then 8.33 ms a character at
    // 1200 baud, plus a 100 ms pause from the second on. It must arrive no
    // earlier (the test may see it late, never early) and not much later.
    void exchangesOverAPseudoTerminal() {
        SimulatorProcess sim({"--address", "4", "--wakeup", "3", "--late", "200", "--pause-at", "1",
                              "--pause", "100"});
        for (const QByteArray& answer : {QByteArray(), QByteArray("4\r\n")}) {
            TermiosSerialPort port;
            port.setPortName(sim.DevicePath());
            port.setIsOpen(true);
            QElapsedTimer sent;
            QList<double> arrivalsMs;
            connect(&port, &ISerialPort::BytesReceived, [&](const QByteArray& bytes) {
                arrivalsMs.insert(arrivalsMs.size(), bytes.size(), sent.nsecsElapsed() / 1e6);
            });
            sent.start();
            port.Transmit(QByteArray(answer.isEmpty() ? 2 : 3, '\376') + "4!");
            QTRY_COMPARE_WITH_TIMEOUT(port.WaitingCount(), answer.size(), 1500);
            QTest::qWait(answer.isEmpty() ? 500 : 0);
            QCOMPARE(port.ReadAll(), answer);
            for (int c = 0; c < arrivalsMs.size(); ++c) {
                const double dueMs = 210 + 8.333 * c + (c >= 1 ? 100 : 0);
                QVERIFY2(arrivalsMs[c] > dueMs - 1 && arrivalsMs[c] < dueMs + 60,
                         qPrintable(QString("character %1 at %2 ms").arg(c).arg(arrivalsMs[c])));
            }
        }
        QTRY_COMPARE(sim.Lines(), QStringList({"rx 4!", "wake 2", "rx 4!", "wake 3", "tx 4"}));
    }

    // Sensor 1's service request comes when its data are ready, after 1.2 of
    // the 2 s it promised. None comes after a C, nor after an M that another
    // command for the same sensor broke off, though either would be due
    // before sensor 1's.
    void serviceRequestFollowsAnM() {
        SimulatorProcess sim({"--address", "012"});
        TermiosSerialPort port;
        port.setPortName(sim.DevicePath());
        port.setIsOpen(true);
        QElapsedTimer sent;
        qint64 requestMs = -1;
        connect(&port, &ISerialPort::BytesReceived, [&] {
            if (requestMs < 0 && port.PeekWaiting().endsWith("\n1\r\n"))
                requestMs = sent.elapsed();
        });
        for (const QString& exchange :
             QStringList{"2C!>tx 200103", "0M!>tx 00023", "0I!>tx 013QUENVRELPRBSIM100SIM0001",
                         "1M!>tx 10023"}) {
            sent.start();
            port.Transmit(exchange.section('>', 0, 0).toLatin1());
            QVERIFY(sim.WaitForLine(exchange.section('>', 1)));
        }
        QTRY_VERIFY_WITH_TIMEOUT(requestMs >= 0, 5000);
        QVERIFY2(requestMs >= 1200 && requestMs < 2000,
                 qPrintable(QString("service request after %1 ms").arg(requestMs)));
        QVERIFY(sim.WaitForLine("tx 1"));
        QCOMPARE(sim.Lines().filter(QRegularExpression("^tx [0-2]$")), QStringList({"tx 1"}));
    }

    // --bad-crc reaches the sensors' answers.
    void badCrcSwitch() {
        SimulatorProcess sim({"--bad-crc"});
        TermiosSerialPort port;
        port.setPortName(sim.DevicePath());
        port.setIsOpen(true);
        port.Transmit("0RC0!");
        QTRY_VERIFY(port.PeekWaiting().endsWith("\r\n"));
        const QString fault = MeasurementAnswers::ReadValues(port.ReadAll(), '0', true).Fault;
        QVERIFY2(fault.startsWith("CRC mismatch"), qPrintable(fault));
    }
};

QTEST_GUILESS_MAIN(TestSim)
#include "tst_sim.moc"
