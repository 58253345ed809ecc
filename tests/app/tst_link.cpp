#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"
#include "link/TranscriptModel.h"
#include "link/ui/PortSelection.h"
#include "link/ui/SensorLink.h"
#include "platform/serial/SerialTerminalView.h"
#include "timer/CTimer.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <optional>

// Sending with its wake-up, and what the window shows of each answer.
class TestLink : public QObject {
    Q_OBJECT
    std::optional<WindowHarness> harness;
    frmSDI12& window() { return *harness->Window; }
    SensorLink& link() { return harness->Window->Link(); }

private slots:
    void init() { harness.emplace(QStringList{"COM1"}); }
    void cleanup() { harness.reset(); }

    // More wake-up characters than the line can take send nothing at all.
    void wakeUpBeforeTheCommand_data() {
        QTest::addColumn<QString>("wakeUp");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QList<int>>("sleeps");
        const QString command = "Transmit=30 4d 21";
        QTest::newRow("no wake-up: break and marking")
            << "0" << QStringList{"Break=on", "Break=off", command} << QList<int>{50, 20};
        QTest::newRow("three wake-up characters")
            << "3" << QStringList{"Transmit=fe fe fe", command} << QList<int>();
        QTest::newRow("0.4 rounds to no character, and no break")
            << "0.4" << QStringList{command} << QList<int>();
        QTest::newRow("too many: refused") << "5000" << QStringList() << QList<int>();
    }
    void wakeUpBeforeTheCommand() {
        QFETCH(QString, wakeUp);
        QFETCH(QStringList, calls);
        window().txtWakeUp->setText(wakeUp);
        harness->Serial.ClearCalls();
        const SendOutcome outcome = link().SendCommand("0M!");
        QTEST(harness->Serial.Calls(), "calls");
        QTEST(harness->Clock.Sleeps(), "sleeps");
        QCOMPARE(outcome.IsSent(), !calls.isEmpty());
        QCOMPARE(link().State().SendTime > 0, !calls.isEmpty());
        QCOMPARE(harness->Panel(1).contains("1000"), calls.isEmpty());
    }

    // A send that finds the port closed reopens it before the break. When
    // that fails it starts no exchange: the port's own report stays, with
    // no time-out after it.
    void aClosedPortIsReopened_data() {
        QTest::addColumn<QString>("wakeUp");
        QTest::addColumn<bool>("openFails");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("report");
        QTest::newRow("the break reopens it") << "0" << false << QByteArray("0I!") << "TIMEOUT";
        QTest::newRow("wake-up characters on a closed port")
            << "2" << true << QByteArray() << "Not sent: the port is closed";
        QTest::newRow("the break's reopen fails")
            << "0" << true << QByteArray() << "No such port: COM1";
    }
    void aClosedPortIsReopened() {
        QFETCH(QString, wakeUp);
        QFETCH(bool, openFails);
        QFETCH(QByteArray, sent);
        harness->Serial.setIsOpen(false);
        harness->Serial.setOpenFails(openFails);
        harness->Serial.ClearCalls();
        window().txtWakeUp->setText(wakeUp);
        const SendOutcome outcome = link().SendCommand("0I!");
        QCOMPARE(outcome.What == SendOutcome::Kind::PortClosed, openFails);
        if (!openFails)
            QCOMPARE(harness->Serial.Calls().mid(0, 3),
                     QStringList({"PortName=COM1", "IsOpen=true", "Break=on"}));
        harness->Tick(400);
        QCOMPARE(harness->Serial.Sent(), sent);
        QTEST(harness->Panel(1), "report");
    }

    // The repeat needs a count and a delay of at least 1 ms; tst_commands
    // runs an armed one.
    void repeatNeedsACountAndADelay_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("delay");
        QTest::newRow("delay 0") << "3"
                                 << "0";
        QTest::newRow("empty count counts as 0") << ""
                                                 << "250";
        QTest::newRow("a delay that rounds to 0 ms") << "3"
                                                     << "0.4";
    }
    void repeatNeedsACountAndADelay() {
        QFETCH(QString, count);
        QFETCH(QString, delay);
        window().txtRepeatCmd->setText(count);
        window().txtRepeatDelay->setText(delay);
        link().SendCommand("0M!");
        QVERIFY(!window().tmrRepeatCmd->Enabled());
        QVERIFY(window().cmdSend->isEnabled());
    }

    // Keys typed into the terminal go out as they are, as no exchange.
    void terminalKeys() {
        window().show();
        window().SaxView->setFocus();
        harness->Serial.ClearSent();
        QTest::keyClick(window().SaxView, Qt::Key_Return);
        QTest::keyClicks(window().SaxView, "0I!");
        QCOMPARE(harness->Serial.Sent(), QByteArray("\r\n0I!"));
        QCOMPARE(link().State().SendTime, 0.0);
    }

    // Panel 2, the round trip, the transcript and the log. The one-line form
    // of the transcript is tst_logcopy's.
    void completedAnswerIsShownAndLogged() {
        link().setRoundTripStart(harness->Clock.TickMs());
        link().SendCommand("0R0!"); // the break takes 70 ms
        harness->Clock.Advance(40);
        harness->Serial.Receive("0+1.2"); // each arrival is looked at at once
        harness->Clock.Advance(8);
        harness->Serial.Receive("3\r\n");
        QCOMPARE(window().Transcript().rowCount(), 0); // still arriving
        harness->Tick();                               // the first quiet tick completes it
        QCOMPARE(harness->Panel(2), "0+1.23\r\n");
        QCOMPARE(harness->Panel(1), QString());
        QCOMPARE(window().lblRoundTrip->text(), "Roundtrip delay = 128 mS");
        QCOMPARE(window().Transcript().rowCount(), 2);
        QCOMPARE(window().Transcript().Item(1), "- 30 2B 31 2E 32 33 0D 0A");
        QFile log(window().LogFilePath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray line = log.readAll();
        QVERIFY2(line.endsWith("0 - 30 2B 31 2E 32 33 0D 0A\r\n"), line.constData());

        // A second answer adds to panel 2 and carries the gap since the first.
        harness->Clock.Advance(240);
        harness->Serial.Receive("0\r\n");
        harness->Tick();
        QCOMPARE(harness->Panel(2), "0+1.23\r\n0\r\n");
        QVERIFY(window().Transcript().Item(2).contains(" [250 mS] <"));
    }

    void timeOutIsShown() {
        link().SendCommand("0M!");
        harness->Tick(9);
        QCOMPARE(harness->Panel(1), QString());
        harness->Tick(2);
        QCOMPARE(harness->Panel(1), "TIMEOUT");
        QCOMPARE(window().Transcript().rowCount(), 0);
    }

    // Shown as it happens and again at completion, beside a log that can no
    // longer be written (a folder stands where the log file was).
    void parityErrorIsShown_data() {
        QTest::addColumn<bool>("logBroken");
        QTest::newRow("log written") << false;
        QTest::newRow("log broken") << true;
    }
    void parityErrorIsShown() {
        QFETCH(bool, logBroken);
        if (logBroken)
            QVERIFY(QFile::remove(window().LogFilePath()) && QDir().mkdir(window().LogFilePath()));
        link().SendCommand("0M!");
        harness->Serial.Receive("0+1\r\n");
        harness->Serial.SignalParityError();
        QCOMPARE(harness->Panel(1), "PARITY ERROR");
        window().StatusBar->SetPanelText(1, QString());
        harness->Tick(2);
        QVERIFY2(harness->Panel(1).startsWith("PARITY ERROR"), qPrintable(harness->Panel(1)));
        QCOMPARE(harness->Panel(1).contains("cannot be written"), logBroken);
        QCOMPARE(harness->Panel(2), "0+1\r\n");
    }

    // A new choice of port (or settings) starts reception afresh: the exchange
    // in flight ends without an outcome, and neither a completion nor a
    // time-out follows.
    void reopeningStartsReceptionAfresh() {
        QSignalSpy ended(&link(), &SensorLink::ExchangeEnded);
        const SendOutcome sent = link().SendCommand("0M!");
        harness->Serial.Receive("0+1");
        window().Ports().cboBaud_Click();
        harness->Tick(30);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).value<ExchangeId>(), sent.Exchange);
        QVERIFY(ended.at(0).at(1).value<ExchangeOutcome>() == ExchangeOutcome::Interrupted);
        QCOMPARE(window().Transcript().rowCount(), 0);
        QVERIFY(!harness->Panel(1).contains("TIMEOUT"));
    }

    void receivedTextKeepsItsTail() {
        link().SendCommand("0M!");
        for (char digit = '0'; digit <= '9'; ++digit) {
            harness->Serial.Receive(QByteArray(298, digit) + "\r\n");
            harness->Tick();
        }
        QCOMPARE(harness->Panel(2).size(), SensorLink::ReceivedTextLimit);
        QVERIFY(harness->Panel(2).endsWith(QByteArray(298, '9') + "\r\n"));
        QCOMPARE(window().Transcript().rowCount(), 20);
    }

    // The 10 ms tick runs while an exchange is in flight or bytes wait, and
    // stops once reception is idle.
    void receptionTicksOnlyWhileNeeded() {
        CTimer& tmrRcv = *window().tmrRcv;
        harness->Tick();
        QVERIFY(!tmrRcv.Enabled());
        link().SendCommand("0M!");
        QVERIFY(tmrRcv.Enabled());
        harness->Serial.Receive("0\r\n");
        harness->Tick();
        QVERIFY(!tmrRcv.Enabled());
        harness->Serial.Receive("a");
        QVERIFY(tmrRcv.Enabled());
        harness->Tick(11);
        QVERIFY(!tmrRcv.Enabled());
    }

    void timer1StaysIdle() {
        window().Timer1->RaiseTimer();
        QVERIFY(harness->Serial.BreakState());
        window().Timer1->RaiseTimer();
        QVERIFY(!harness->Serial.BreakState());
        QVERIFY(!window().Timer1->Enabled());
    }
};

QTEST_MAIN(TestLink)
#include "tst_link.moc"
