#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"
#include "link/LinkEngine.h"
#include "link/TranscriptModel.h"
#include "link/ui/PortSelection.h"
#include "platform/serial/SerialTerminalView.h"
#include "timer/CTimer.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <optional>

// Sending with its wake-up, and what the window shows of each answer.
class TestLink : public QObject {
    Q_OBJECT
    std::optional<WindowHarness> harness;
    frmSDI12& window() { return *harness->Window; }
    LinkEngine& link() { return harness->Window->Link(); }

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
        QTest::newRow("too many: refused") << "5000" << QStringList() << QList<int>();
    }
    void wakeUpBeforeTheCommand() {
        QFETCH(QString, wakeUp);
        QFETCH(QStringList, calls);
        window().txtWakeUp->setText(wakeUp);
        harness->Serial.ClearCalls();
        link().sendCommand("0M!");
        QTEST(harness->Serial.Calls(), "calls");
        QTEST(harness->Serial.Waits(), "sleeps");
        QCOMPARE(harness->Panel(1).contains("1000"), calls.isEmpty());
    }

    // A closed port is reopened before the break; when that fails no
    // exchange starts and the port's own report stays, with no time-out.
    void aClosedPortIsReopened_data() {
        QTest::addColumn<QString>("wakeUp");
        QTest::addColumn<bool>("openFails");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("report");
        QTest::newRow("the break reopens it") << "0" << false << QByteArray("0I!") << "TIMEOUT";
        QTest::newRow("wake-up characters on a closed port")
            << "2" << true << QByteArray() << "Closed  |  Not sent: the port is closed";
        QTest::newRow("the reopen fails") << "0" << true << QByteArray() << "No such port: COM1";
    }
    void aClosedPortIsReopened() {
        QFETCH(QString, wakeUp);
        QFETCH(bool, openFails);
        harness->Serial.setIsOpen(false);
        harness->Serial.setOpenFails(openFails);
        window().txtWakeUp->setText(wakeUp);
        const SendOutcome outcome = link().sendCommand("0I!");
        QCOMPARE(outcome.What == SendOutcome::Kind::PortClosed, openFails);
        harness->Tick(400);
        QTEST(harness->Serial.Sent(), "sent");
        QTEST(harness->Panel(1), "report");
    }

    // The repeat needs a count and a delay of at least 1 ms.
    void repeatNeedsACountAndADelay_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("delay");
        QTest::newRow("empty count") << QString() << QString("250");
        QTest::newRow("delay rounds to 0 ms") << QString("3") << QString("0.4");
    }
    void repeatNeedsACountAndADelay() {
        QFETCH(QString, count);
        QFETCH(QString, delay);
        window().txtRepeatCmd->setText(count);
        window().txtRepeatDelay->setText(delay);
        link().sendCommand("0M!");
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
        QVERIFY(!link().lineBusy());
    }

    // Panel 2, the round trip, the transcript and the log.
    void completedAnswerIsShownAndLogged() {
        link().startRoundTrip();
        link().sendCommand("0R0!"); // the break takes 70 ms
        harness->Clock.Advance(40);
        harness->Serial.Receive("0+1.2");
        harness->Clock.Advance(8);
        harness->Serial.Receive("3\r\n");
        harness->Tick();
        QCOMPARE(harness->Panel(2), "0+1.23\r\n");
        QCOMPARE(window().lblRoundTrip->text(), "Roundtrip delay = 128 mS");
        QCOMPARE(window().Transcript().Item(1), "- 30 2B 31 2E 32 33 0D 0A");
        QFile log(window().LogFilePath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().endsWith("0 - 30 2B 31 2E 32 33 0D 0A\r\n"));

        // A second answer adds to panel 2 and carries the gap since the first.
        harness->Clock.Advance(240);
        harness->Serial.Receive("0\r\n");
        harness->Tick();
        QCOMPARE(harness->Panel(2), "0+1.23\r\n0\r\n");
        QVERIFY(window().Transcript().Item(2).contains(" [250 mS] <"));
    }

    // Shown as it happens and again at completion, beside a log that can no
    // longer be written (a folder stands where the log file was).
    void parityErrorIsShown() {
        QVERIFY(QFile::remove(window().LogFilePath()) && QDir().mkdir(window().LogFilePath()));
        link().sendCommand("0M!");
        harness->Serial.Receive("0+1\r\n");
        harness->Serial.SignalParityError();
        QCOMPARE(harness->Panel(1), "PARITY ERROR");
        harness->Tick(2);
        QVERIFY2(harness->Panel(1).startsWith("PARITY ERROR"), qPrintable(harness->Panel(1)));
        QVERIFY(harness->Panel(1).contains("cannot be written"));
    }

    // A new choice of port settings ends the exchange in flight as
    // interrupted; neither a completion nor a time-out follows.
    void reopeningStartsReceptionAfresh() {
        QSignalSpy ended(&link(), &LinkEngine::exchangeEnded);
        const SendOutcome sent = link().sendCommand("0M!");
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
        link().sendCommand("0M!");
        for (char digit = '0'; digit <= '9'; ++digit) {
            harness->Serial.Receive(QByteArray(298, digit) + "\r\n");
            harness->Tick();
        }
        QCOMPARE(harness->Panel(2).size(), 1000); // the tail that panel 2 keeps
        QVERIFY(harness->Panel(2).endsWith(QByteArray(298, '9') + "\r\n"));
    }

    // The 10 ms tick runs only while an exchange is in flight.
    void receptionTicksOnlyWhileNeeded() {
        CTimer& tmrRcv = *window().tmrRcv;
        link().sendCommand("0M!");
        QVERIFY(tmrRcv.Enabled());
        harness->Serial.Receive("0\r\n");
        harness->Tick();
        QVERIFY(!tmrRcv.Enabled());
    }
};

QTEST_MAIN(TestLink)
#include "tst_link.moc"
