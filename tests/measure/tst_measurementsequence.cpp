#include "measure/Crc16.h"
#include "measure/MeasurementSequence.h"

#include <QTest>

namespace {

// Plays a script of events on a sequence and writes down every step it
// asks for. Events: "A:<answer>" answered ("\n" stands for CR LF), "T" timed
// out, "I" interrupted, "N" not sent, "L:<line>" a line outside any
// exchange, "W" the wait elapsed, "S" Stop, "E:<answer>" answered with
// parity errors. A command sent without its break reads "(no break)".
QStringList play(MeasurementSequence& sequence, const QStringList& events) {
    QStringList steps;
    const auto note = [&steps](const MeasurementStep& step) {
        switch (step.What) {
        case MeasurementStep::Kind::Send:
            steps << QStringLiteral("send ") + step.Command +
                         (step.Options.Wake ? QString() : QStringLiteral(" (no break)"));
            break;
        case MeasurementStep::Kind::Wait:
            steps << QStringLiteral("wait %1").arg(step.WaitMs);
            break;
        case MeasurementStep::Kind::Finish:
            steps << QStringLiteral("finish");
            break;
        case MeasurementStep::Kind::CarryOn:
            steps << QStringLiteral("-");
            break;
        }
    };
    note(sequence.Begin());
    for (const QString& event : events) {
        const QByteArray text = event.mid(2).toLatin1().replace("\n", "\r\n");
        if (event.startsWith(QLatin1String("A:")))
            note(sequence.ExchangeEnded(ExchangeOutcome::Answered, text));
        else if (event.startsWith(QLatin1String("E:")))
            note(sequence.ExchangeEnded(ExchangeOutcome::Answered, text, true));
        else if (event.startsWith(QLatin1String("L:")))
            note(sequence.LineReceived(text));
        else if (event == QLatin1String("T"))
            note(sequence.ExchangeEnded(ExchangeOutcome::TimedOut, QByteArray()));
        else if (event == QLatin1String("I"))
            note(sequence.ExchangeEnded(ExchangeOutcome::Interrupted, QByteArray()));
        else if (event == QLatin1String("N"))
            note(sequence.NotSent(QStringLiteral("No such port")));
        else if (event == QLatin1String("W"))
            note(sequence.WaitElapsed());
        else if (event == QLatin1String("S"))
            note(sequence.Stop());
    }
    return steps;
}

QString crcAnswer(const char* line) {
    return QStringLiteral("A:") + QString::fromLatin1(line) +
           QString::fromLatin1(Sdi12Crc::Encode(Sdi12Crc::Compute(line))) + QStringLiteral("\n");
}

} // namespace

class TestMeasurementSequence : public QObject {
    Q_OBJECT
private slots:
    void sequences_data();
    void sequences();
    void retries_data();
    void retries();
};

void TestMeasurementSequence::sequences_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("values"); // the values' texts, space-separated
    QTest::addColumn<QString>("fault");  // a part of the fault; empty when complete

    QTest::newRow("service request before ttt")
        << "M" << QStringList{"A:00023\n", "L:0\n", "A:0+21.37-0.12+7.91\n"}
        << "send 0M!|wait 2000|send 0D0!|finish"
        << "+21.37 -0.12 +7.91"
        << "";
    QTest::newRow("no service request: waits ttt")
        << "M" << QStringList{"A:00023\n", "W", "A:0+1+2+3\n"}
        << "send 0M!|wait 2000|send 0D0!|finish"
        << "+1 +2 +3"
        << "";
    QTest::newRow("values over D0 and D1")
        << "M" << QStringList{"A:00013\n", "W", "A:0+1+2\n", "A:0+3\n"}
        << "send 0M!|wait 1000|send 0D0!|send 0D1!|finish"
        << "+1 +2 +3"
        << "";
    QTest::newRow("data ready at once")
        << "M1" << QStringList{"A:00001\n", "A:0-.5\n"} << "send 0M1!|send 0D0!|finish"
        << "-.5"
        << "";
    QTest::newRow("service request with the promise")
        << "V" << QStringList{"A:00011\n0\n", "A:0+1\n"} << "send 0V!|send 0D0!|finish"
        << "+1"
        << "";
    QTest::newRow("another sensor's service request")
        << "M" << QStringList{"A:00021\n", "L:1\n", "W", "A:0+1\n"}
        << "send 0M!|wait 2000|-|send 0D0!|finish"
        << "+1"
        << "";
    QTest::newRow("concurrent: no service request, two-digit count")
        << "C" << QStringList{"A:000102\n", "L:0\n", "W", "A:0+1+2\n"}
        << "send 0C!|wait 1000|-|send 0D0!|finish"
        << "+1 +2"
        << "";
    QTest::newRow("CRC checked on each data answer")
        << "MC" << QStringList{"A:00012\n", "W", crcAnswer("0+1"), crcAnswer("0+2")}
        << "send 0MC!|wait 1000|send 0D0!|send 0D1!|finish"
        << "+1 +2"
        << "";
    QTest::newRow("continuous") << "R0" << QStringList{"A:0+4.5-1\n"} << "send 0R0!|finish"
                                << "+4.5 -1"
                                << "";
    QTest::newRow("continuous with CRC")
        << "RC3" << QStringList{crcAnswer("0+4.5")} << "send 0RC3!|finish"
        << "+4.5"
        << "";

    QTest::newRow("no answer") << "M" << QStringList{"T"} << "send 0M!|finish"
                               << ""
                               << "no answer to 0M!";
    QTest::newRow("no answer to D0")
        << "M" << QStringList{"A:00011\n", "W", "T"} << "send 0M!|wait 1000|send 0D0!|finish"
        << ""
        << "no answer to 0D0!";
    QTest::newRow("cut short") << "M" << QStringList{"I"} << "send 0M!|finish"
                               << ""
                               << "0M! was cut short";
    QTest::newRow("not sent") << "M" << QStringList{"N"} << "send 0M!|finish"
                              << ""
                              << "0M! could not be sent: No such port";
    QTest::newRow("start answer of the wrong form")
        << "M" << QStringList{"A:0002\n"} << "send 0M!|finish"
        << ""
        << "not of the form atttn";
    QTest::newRow("start answer from another address")
        << "M" << QStringList{"A:10011\n"} << "send 0M!|finish"
        << ""
        << "from address 1, not 0";
    QTest::newRow("data from another address")
        << "M" << QStringList{"A:00001\n", "A:1+1\n"} << "send 0M!|send 0D0!|finish"
        << ""
        << "0D0!: the answer comes from address 1";
    QTest::newRow("CRC mismatch") << "MC"
                                  << QStringList{"A:00001\n", crcAnswer("0+1").replace("+1", "+7")}
                                  << "send 0MC!|send 0D0!|finish"
                                  << ""
                                  << "CRC mismatch";
    QTest::newRow("fewer values than promised: partial values kept")
        << "M" << QStringList{"A:00003\n", "A:0+1\n", "A:0\n"}
        << "send 0M!|send 0D0!|send 0D1!|finish"
        << "+1"
        << "3 values promised, 1 came";
    QTest::newRow("more values than promised")
        << "M" << QStringList{"A:00001\n", "A:0+1+2\n"} << "send 0M!|send 0D0!|finish"
        << "+1 +2"
        << "more than promised";
    QTest::newRow("no values promised") << "M" << QStringList{"A:00000\n"} << "send 0M!|finish"
                                        << ""
                                        << "promised no values";
    QTest::newRow("stopped while waiting")
        << "M" << QStringList{"A:00101\n", "S", "W"} << "send 0M!|wait 10000|finish|-"
        << ""
        << "Stopped";
    QTest::newRow("a late answer after the end changes nothing")
        << "R0" << QStringList{"A:0+1\n", "A:0+9\n", "S"} << "send 0R0!|finish|-|-"
        << "+1"
        << "";
}

void TestMeasurementSequence::sequences() {
    QFETCH(QString, method);
    QFETCH(QStringList, events);
    QFETCH(QString, fault);
    MeasurementSequence sequence(QLatin1Char('0'), *MeasurementMethod::FromName(method));
    QTEST(play(sequence, events).join(QLatin1Char('|')), "steps");
    QVERIFY(sequence.IsOver());
    QStringList texts;
    for (const MeasuredValue& value : sequence.Outcome().Values)
        texts << value.Text;
    QTEST(texts.join(QLatin1Char(' ')), "values");
    if (fault.isEmpty())
        QVERIFY2(sequence.Outcome().IsComplete(), qPrintable(sequence.Outcome().Fault));
    else
        QVERIFY2(sequence.Outcome().Fault.contains(fault), qPrintable(sequence.Outcome().Fault));
}

// With the recorders' retries on: what is sent again, how, and what the
// outcome counts.
void TestMeasurementSequence::retries_data() {
    QTest::addColumn<QString>("method");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("retries");
    QTest::addColumn<QString>("fault"); // a part of the fault; empty when complete

    QTest::newRow("a lost start answer")
        << "M" << QStringList{"T", "A:00001\n", "A:0+1\n"}
        << "send 0M!|send 0M! (no break)|send 0D0!|finish" << 1 << "";
    QTest::newRow("a data answer of the wrong form")
        << "M" << QStringList{"A:00001\n", "A:0+1x\n", "T", "A:0+1\n"}
        << "send 0M!|send 0D0!|send 0D0! (no break)|send 0D0! (no break)|finish" << 2 << "";
    QTest::newRow("an answer from another address")
        << "R0" << QStringList{"A:1+3\n", "A:0+3\n"} << "send 0R0!|send 0R0! (no break)|finish" << 1
        << "";
    QTest::newRow("an answer with parity errors")
        << "R0" << QStringList{"E:0+3\n", "A:0+3\n"} << "send 0R0!|send 0R0! (no break)|finish" << 1
        << "";
    QTest::newRow("a CRC failure on D0 is asked again three times")
        << "MC"
        << QStringList{"A:00001\n", crcAnswer("0+1").replace("+1", "+7"),
                       crcAnswer("0+1").replace("+1", "+7"), crcAnswer("0+1").replace("+1", "+7"),
                       crcAnswer("0+1").replace("+1", "+7")}
        << "send 0MC!|send 0D0!|send 0D0! (no break)|send 0D0! (no break)|send 0D0! (no "
           "break)|finish"
        << 3 << "CRC mismatch";
    QTest::newRow("silence: three rounds of three tries")
        << "M" << QStringList(9, "T")
        << "send 0M!|send 0M! (no break)|send 0M! (no break)|send 0M!|send 0M! (no break)|send "
           "0M! (no break)|send 0M!|send 0M! (no break)|send 0M! (no break)|finish"
        << 8 << "no answer to 0M!";
    QTest::newRow("each command has tries of its own")
        << "M" << QStringList{"T", "T", "A:00001\n", "T", "T", "A:0+1\n"}
        << "send 0M!|send 0M! (no break)|send 0M! (no break)|send 0D0!|send 0D0! (no "
           "break)|send 0D0! (no break)|finish"
        << 4 << "";
    QTest::newRow("cut short: not tried again")
        << "M" << QStringList{"I"} << "send 0M!|finish" << 0 << "cut short";
    QTest::newRow("too many values: not tried again")
        << "M" << QStringList{"A:00001\n", "A:0+1+2\n"} << "send 0M!|send 0D0!|finish" << 0
        << "more than promised";
}

void TestMeasurementSequence::retries() {
    QFETCH(QString, method);
    QFETCH(QStringList, events);
    QFETCH(QString, fault);
    MeasurementSequence sequence(QLatin1Char('0'), *MeasurementMethod::FromName(method),
                                 RetrySettings{true, 60});
    QTEST(play(sequence, events).join(QLatin1Char('|')), "steps");
    QVERIFY(sequence.IsOver());
    QTEST(sequence.Outcome().Retries, "retries");
    if (fault.isEmpty())
        QVERIFY2(sequence.Outcome().IsComplete(), qPrintable(sequence.Outcome().Fault));
    else
        QVERIFY2(sequence.Outcome().Fault.contains(fault), qPrintable(sequence.Outcome().Fault));
}

QTEST_GUILESS_MAIN(TestMeasurementSequence)
#include "tst_measurementsequence.moc"
