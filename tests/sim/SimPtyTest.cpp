#include "platform/serial/TermiosSerialPort.h"
#include "support/SimulatorProcess.h"

#include <QtTest>

class SimPtyTest : public QObject {
    Q_OBJECT

private slots:
    // An empty answer stands for silence; \376 is the wake-up byte 0xFE.
    void exchanges_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<int>("pauseAt"); // 0: no pause
        QTest::addColumn<QByteArrayList>("commands");
        QTest::addColumn<QByteArrayList>("answers");
        QTest::addColumn<QStringList>("report");
        QTest::newRow("answers and report")
            << QStringList{"--address", "47"} << 0 << 0 << QByteArrayList{"?!", "4XB7!"}
            << QByteArrayList{"4\r\n", "4XB7\r\n"}
            << QStringList{"rx ?!", "tx 4", "rx 4XB7!", "set XB 7", "tx 4XB7"};
        QTest::newRow("wake-up demanded")
            << QStringList{"--wakeup", "3"} << 0 << 0
            << QByteArrayList{"\376\3760!", "\376\376\3760!"} << QByteArrayList{"", "0\r\n"}
            << QStringList{"rx 0!", "wake 2", "rx 0!", "wake 3", "tx 0"};
        QTest::newRow("late, pause inside the answer")
            << QStringList{} << 200 << 3 << QByteArrayList{"0I!"}
            << QByteArrayList{"013QUENVRELPRBSIM100SIM0001\r\n"}
            << QStringList{"rx 0I!", "tx 013QUENVRELPRBSIM100SIM0001"};
    }

    // Each command goes through a fresh open, as ProbeTerm reopens its port at
    // every settings choice. Each character must arrive no earlier than its due
    // time (10 ms turnaround plus any lateness, then 8.33 ms a character at
    // 1200 baud, plus a 100 ms pause after pauseAt characters) and not much
    // later; the test may see it late, never early, so the lower bound is firm.
    void exchanges() {
        QFETCH(QStringList, arguments);
        QFETCH(int, lateMs);
        QFETCH(int, pauseAt);
        QFETCH(QByteArrayList, commands);
        QFETCH(QByteArrayList, answers);
        QFETCH(QStringList, report);
        SimulatorProcess sim(arguments + QStringList{"--late", QString::number(lateMs),
                                                     "--pause-at", QString::number(pauseAt),
                                                     "--pause", "100"});
        for (int i = 0; i < commands.size(); ++i) {
            TermiosSerialPort port;
            port.setPortName(sim.DevicePath());
            port.setIsOpen(true);
            QElapsedTimer sent;
            QList<double> arrivalsMs;
            connect(&port, &ISerialPort::BytesReceived, [&](const QByteArray& bytes) {
                arrivalsMs.insert(arrivalsMs.size(), bytes.size(), sent.nsecsElapsed() / 1e6);
            });
            sent.start();
            port.Transmit(commands[i]);
            QTRY_COMPARE_WITH_TIMEOUT(port.WaitingCount(), answers[i].size(), 1500);
            QTest::qWait(answers[i].isEmpty() ? 300 : 0);
            QCOMPARE(port.ReadAll(), answers[i]);
            for (int c = 0; c < arrivalsMs.size(); ++c) {
                const double dueMs =
                    10 + lateMs + 8.333 * c + (pauseAt > 0 && c >= pauseAt ? 100 : 0);
                QVERIFY2(arrivalsMs[c] > dueMs - 1 && arrivalsMs[c] < dueMs + 60,
                         qPrintable(QString("character %1 at %2 ms").arg(c).arg(arrivalsMs[c])));
            }
        }
        QTRY_COMPARE(sim.Lines(), report);
    }
};

QTEST_GUILESS_MAIN(SimPtyTest)
#include "SimPtyTest.moc"
