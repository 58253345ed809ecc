#include "tools/sim/CommandFramer.h"
#include "tools/sim/Printable.h"
#include "tools/sim/SensorModel.h"

#include <QtTest>

class SimRulesTest : public QObject {
    Q_OBJECT

private slots:
    // Each row runs "command>answer" exchanges in order on fresh sensors. An
    // empty answer stands for silence; a setting the command wrote follows in
    // brackets.
    void answers_data() {
        QTest::addColumn<QString>("addresses");
        QTest::addColumn<QStringList>("exchanges");
        QTest::newRow("standard") << "0"
                                  << QStringList{"0!>0", "?!>0", "?X!>0KV",
                                                 "0I!>013QUENVRELPRBSIM100SIM0001", "0Z!>"};
        QTest::newRow("values drift between measurements")
            << "0"
            << QStringList{"0M!>00002", "0D0!>0+12.34+21.5", "0D1!>0", "0C!>000002",
                           "0R0!>0+12.36+21.7"};
        QTest::newRow("several sensors, address change")
            << "50" << QStringList{"?!>5", "0A5!>0", "0A*!>0", "0A3!>3", "3!>3", "0!>"};
        QTest::newRow("settings per sensor")
            << "05" << QStringList{"0XB7!>0XB7 [XB 7]", "0XB?!>0XB7", "5XB?!>5XB3"};
        QTest::newRow("accepted writes") << "0"
                                         << QStringList{"0XRA-1.25!>0XRA-1.25 [XRA -1.25]",
                                                        "0XSRIVER 02!>0XSRIVER 02 [XS RIVER 02]"};
        QTest::newRow("malformed writes")
            << "0"
            << QStringList{"0XB12!>0ERR", "0XW5!>0ERR", "0XRA1.2.3!>0ERR", "0XOPM1021!>0ERR"};
    }
    void answers() {
        QFETCH(QString, addresses);
        QFETCH(QStringList, exchanges);
        SensorModel sensors(addresses.toStdString());
        for (const QString& exchange : exchanges) {
            const Reply reply = sensors.respond(exchange.section('>', 0, 0).toStdString());
            std::string answer = reply.answer.value_or("");
            if (reply.change)
                answer += " [" + reply.change->base + " " + reply.change->value + "]";
            QCOMPARE(QString::fromStdString(answer), exchange.section('>', 1));
        }
    }

    // Chunks as they come off the line (\376 is the wake-up byte 0xFE); each
    // command as its text, as reported, and its count of wake-up bytes.
    void framing_data() {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("wake-ups and noise dropped, split across reads")
            << QByteArrayList{QByteArray("\376\376\3760!\r\n\0\3761X", 11), "B?", "!0"}
            << QStringList{"0!|0!|3", "1XB?!|1XB?!|1"};
        QTest::newRow("parity bit stripped, reported as received")
            << QByteArrayList{"\xB0I\x01\\!"} << QStringList{"0I\x01\\!|\\xB0I\\x01\\x5C!|0"};
    }
    void framing() {
        QFETCH(QByteArrayList, chunks);
        CommandFramer framer;
        QStringList commands;
        for (const QByteArray& chunk : chunks) {
            for (const ReceivedCommand& command : framer.feed(chunk.constData(), chunk.size()))
                commands << QString::fromStdString(command.text + "|" + printable(command.raw) +
                                                   "|" + std::to_string(command.wakeUps));
        }
        QTEST(commands, "commands");
    }
};

QTEST_APPLESS_MAIN(SimRulesTest)
#include "SimRulesTest.moc"
