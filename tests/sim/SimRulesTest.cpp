#include "tools/sim/CommandFramer.h"
#include "tools/sim/LineTiming.h"
#include "tools/sim/Printable.h"
#include "tools/sim/SensorModel.h"

#include <QtTest>

class SimRulesTest : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void framing_data();
    void framing();
    void characterTime_data();
    void characterTime();
};

// Each row runs its commands in order on fresh sensors. An answer "" stands
// for silence; a change is the setting a command wrote, as "base value", and
// is "" where a row lists fewer changes than commands.
void SimRulesTest::answers_data() {
    QTest::addColumn<QString>("addresses");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("changes");

    QTest::newRow("standard commands")
        << "0" << QStringList{"0!", "?!", "?X!", "0I!", "0V!"}
        << QStringList{"0", "0", "0KV", "013QUENVRELPRBSIM100SIM0001", "00000"} << QStringList{};
    QTest::newRow("several sensors") << "50" << QStringList{"?!", "?X!", "5!", "3!", "0!"}
                                     << QStringList{"5", "5KV", "5", "", "0"} << QStringList{};
    QTest::newRow("measurement then data")
        << "0" << QStringList{"0M!", "0D0!", "0D1!"} << QStringList{"00002", "0+12.34+21.5", "0"}
        << QStringList{};
    QTest::newRow("values drift between measurements")
        << "0" << QStringList{"0R0!", "0C!", "0D0!", "0CC!"}
        << QStringList{"0+12.34+21.5", "000002", "0+12.35+21.6", "000002"} << QStringList{};
    QTest::newRow("address change")
        << "0" << QStringList{"0A3!", "3!", "0!"} << QStringList{"3", "3", ""} << QStringList{};
    QTest::newRow("address taken or invalid refused")
        << "05" << QStringList{"0A5!", "0A*!", "0!"} << QStringList{"0", "0", "0"} << QStringList{};
    QTest::newRow("unknown commands stay silent") << "0" << QStringList{"0Z!", "0XQQ!", "?Y!", "!"}
                                                  << QStringList{"", "", "", ""} << QStringList{};
    QTest::newRow("identification and default reads")
        << "0" << QStringList{"0XIV!", "0XIS!", "0XIM!", "0XB?!", "0XW?!", "0XOPM?!"}
        << QStringList{"0KV-SIM 2.31", "0SIM0001", "0KV-SIM", "0XB3", "0XW010", "0XOPM21001"}
        << QStringList{};
    QTest::newRow("write and read back") << "0" << QStringList{"0XB7!", "0XB?!"}
                                         << QStringList{"0XB7", "0XB7"} << QStringList{"XB 7", ""};
    QTest::newRow("accepted writes")
        << "0" << QStringList{"0XW005!",    "0XSRIVER 02!", "0XS!",       "0X0AF!",
                              "0XRA-1.25!", "0XOPM10215!",  "0XOPA2311A!"}
        << QStringList{"0XW005",    "0XSRIVER 02", "0XS",       "0X0AF",
                       "0XRA-1.25", "0XOPM10215",  "0XOPA2311A"}
        << QStringList{"XW 005",    "XS RIVER 02", "XS ",       "X0A F",
                       "XRA -1.25", "XOPM 10215",  "XOPA 2311A"};
    QTest::newRow("settings belong to each sensor")
        << "05" << QStringList{"0XB7!", "5XB?!"} << QStringList{"0XB7", "5XB3"}
        << QStringList{"XB 7", ""};
    QTest::newRow("malformed writes change nothing")
        << "0"
        << QStringList{"0XB12!",        "0XBA!",      "0XB!",         "0XW5!",      "0XW12a!",
                       "0XSNINECHARS!", "0X0AFF!",    "0X0A!",        "0XRA1.2.3!", "0XRA.!",
                       "0XRA2,5!",      "0XOPM1021!", "0XOPM102155!", "0XB?!"}
        << QStringList{"0ERR", "0ERR", "0ERR", "0ERR", "0ERR", "0ERR", "0ERR",
                       "0ERR", "0ERR", "0ERR", "0ERR", "0ERR", "0ERR", "0XB3"}
        << QStringList{};
}

void SimRulesTest::answers() {
    QFETCH(QString, addresses);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, changes);

    SensorModel sensors(addresses.toStdString());
    for (int i = 0; i < commands.size(); ++i) {
        const Reply reply = sensors.respond(commands[i].toStdString());
        QCOMPARE(QString::fromStdString(reply.answer.value_or("")), answers[i]);
        const std::string change =
            reply.change ? reply.change->base + " " + reply.change->value : std::string();
        QCOMPARE(QString::fromStdString(change), changes.value(i));
    }
}

// Chunks as they come off the line; each command as text, as reported and
// with its count of wake-up bytes.
void SimRulesTest::framing_data() {
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QList<int>>("wakeUps");

    QTest::newRow("plain") << QList<QByteArray>{"0I!"} << QStringList{"0I!"} << QStringList{"0I!"}
                           << QList<int>{0};
    QTest::newRow("wake-up bytes counted per command")
        << QList<QByteArray>{"\xFE\xFE\xFE"
                             "0!\xFE"
                             "1!"}
        << QStringList{"0!", "1!"} << QStringList{"0!", "1!"} << QList<int>{3, 1};
    QTest::newRow("noise dropped") << QList<QByteArray>{QByteArray("\r\n\0"
                                                                   "0I!\r\n",
                                                                   8)}
                                   << QStringList{"0I!"} << QStringList{"0I!"} << QList<int>{0};
    QTest::newRow("split across reads")
        << QList<QByteArray>{"0X", "B?", "!0"} << QStringList{"0XB?!"} << QStringList{"0XB?!"}
        << QList<int>{0};
    QTest::newRow("parity bit stripped, reported as received")
        << QList<QByteArray>{"\xB0I\x01\\!"} << QStringList{"0I\x01\\!"}
        << QStringList{"\\xB0I\\x01\\x5C!"} << QList<int>{0};
    QTest::newRow("no command without its end") << QList<QByteArray>{"\xFE"
                                                                     "0I"}
                                                << QStringList{} << QStringList{} << QList<int>{};
}

void SimRulesTest::framing() {
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, reported);
    QFETCH(QList<int>, wakeUps);

    CommandFramer framer;
    QStringList gotTexts, gotReported;
    QList<int> gotWakeUps;
    for (const QByteArray& chunk : chunks) {
        for (const ReceivedCommand& command : framer.feed(chunk.constData(), chunk.size())) {
            gotTexts << QString::fromStdString(command.text);
            gotReported << QString::fromStdString(printable(command.raw));
            gotWakeUps << command.wakeUps;
        }
    }
    QCOMPARE(gotTexts, texts);
    QCOMPARE(gotReported, reported);
    QCOMPARE(gotWakeUps, wakeUps);
}

void SimRulesTest::characterTime_data() {
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("controlFlags");
    QTest::addColumn<int>("microseconds");

    QTest::newRow("1200 7E1") << int(B1200) << int(CS7 | PARENB) << 8333;
    QTest::newRow("1200 8N1, as a pseudo-terminal forces") << int(B1200) << int(CS8) << 8333;
    QTest::newRow("9600 8N2") << int(B9600) << int(CS8 | CSTOPB) << 1145;
    QTest::newRow("300 7O2") << int(B300) << int(CS7 | PARENB | PARODD | CSTOPB) << 36666;
    QTest::newRow("no speed taken as 1200") << int(B0) << int(CS7 | PARENB) << 8333;
}

void SimRulesTest::characterTime() {
    QFETCH(int, speed);
    QFETCH(int, controlFlags);
    QFETCH(int, microseconds);

    termios settings{};
    settings.c_cflag = static_cast<tcflag_t>(controlFlags);
    cfsetospeed(&settings, static_cast<speed_t>(speed));
    const auto time =
        std::chrono::duration_cast<std::chrono::microseconds>(::characterTime(settings));
    QCOMPARE(int(time.count()), microseconds);
}

QTEST_APPLESS_MAIN(SimRulesTest)
#include "SimRulesTest.moc"
