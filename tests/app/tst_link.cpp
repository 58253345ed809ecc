#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"

#include "link/TranscriptModel.h"
#include "link/ui/SensorLink.h"
#include "link/ui/TranscriptView.h"
#include "platform/serial/SerialTerminalView.h"
#include "platform/ui/Grid.h"
#include "sheet/ui/Sheet.h"
#include "timer/CTimer.h"

#include "link/ui/PortSelection.h"
#include "support/TempFolders.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyledItemDelegate>
#include <QtTest>

// Sending with its wake-up, and what the window shows of each answer.
class TestLink : public QObject {
    Q_OBJECT
private slots:
    void wakeUpBeforeTheCommand_data();
    void wakeUpBeforeTheCommand();
    void tooManyWakeUpCharactersSendNothing();
    void breakReopensAClosedPort();
    void aClosedPortStartsNoExchange_data();
    void aClosedPortStartsNoExchange();
    void reopeningStartsReceptionAfresh();
    void receivedTextKeepsItsTail();
    void parityErrorAndLogFailureBothShow();
    void receptionTicksOnlyWhileNeeded();
    void repeatArmedOnlyWithCountAndDelay_data();
    void repeatArmedOnlyWithCountAndDelay();
    void terminalKeys();
    void completedAnswerIsShownAndLogged();
    void timeOutIsShown();
    void parityErrorIsShown();
    void timer1StaysIdle();
};

void TestLink::wakeUpBeforeTheCommand_data() {
    QTest::addColumn<QString>("wakeUp");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QList<int>>("sleeps");
    const QString command = QStringLiteral("Transmit=30 4d 21");
    QTest::newRow("no wake-up: break and marking")
        << "0" << QStringList({"Break=on", "Break=off", command}) << QList<int>({50, 20});
    QTest::newRow("three wake-up characters")
        << "3" << QStringList({"Transmit=fe fe fe", command}) << QList<int>();
    QTest::newRow("0.4 rounds to no character, and no break")
        << "0.4" << QStringList({command}) << QList<int>();
}

void TestLink::wakeUpBeforeTheCommand() {
    QFETCH(QString, wakeUp);
    QFETCH(QStringList, calls);
    QFETCH(QList<int>, sleeps);
    WindowHarness harness({"COM1"});
    harness.Window->txtWakeUp->setText(wakeUp);
    harness.Serial.ClearCalls();
    QVERIFY(harness.Window->Link().SendCommand(QStringLiteral("0M!")).IsSent());
    QCOMPARE(harness.Serial.Calls(), calls);
    QCOMPARE(harness.Clock.Sleeps(), sleeps);
    QCOMPARE(harness.Window->Link().LastCommand(), QStringLiteral("0M!"));
    QVERIFY(harness.Window->Link().State().SendTime > 0);
}

void TestLink::tooManyWakeUpCharactersSendNothing() {
    WindowHarness harness({"COM1"});
    harness.Window->txtWakeUp->setText(QStringLiteral("5000"));
    harness.Serial.ClearCalls();
    QVERIFY(harness.Window->Link().SendCommand(QStringLiteral("0M!")).What ==
            SendOutcome::Kind::Refused);
    QVERIFY(harness.Serial.Calls().isEmpty());
    QVERIFY(harness.Panel(1).contains(QStringLiteral("1000")));
    QCOMPARE(harness.Window->Link().State().SendTime, 0.0);
}

void TestLink::breakReopensAClosedPort() {
    WindowHarness harness({"COM1"});
    harness.Serial.setIsOpen(false);
    harness.Serial.ClearCalls();
    harness.Window->Link().SendCommand(QStringLiteral("0I!"));
    QCOMPARE(harness.Serial.Calls().mid(0, 3),
             QStringList({"PortName=COM1", "IsOpen=true", "Break=on"}));
    QCOMPARE(harness.Serial.Sent(), QByteArray("0I!"));
}

// A send that finds the port closed, and cannot reopen it, starts no
// exchange: the port's own report stays, with no time-out after it.
void TestLink::aClosedPortStartsNoExchange_data() {
    QTest::addColumn<QString>("wakeUp");
    QTest::addColumn<QString>("report");
    QTest::newRow("wake-up characters on a closed port") << "2"
                                                         << "Not sent: the port is closed";
    QTest::newRow("the break's reopen fails") << "0"
                                              << "No such port: COM1";
}

void TestLink::aClosedPortStartsNoExchange() {
    QFETCH(QString, wakeUp);
    QFETCH(QString, report);
    WindowHarness harness({"COM1"});
    harness.Serial.setIsOpen(false);
    harness.Serial.setOpenFails(true);
    harness.Window->txtWakeUp->setText(wakeUp);
    const SendOutcome outcome = harness.Window->Link().SendCommand(QStringLiteral("0I!"));
    QVERIFY(outcome.What == SendOutcome::Kind::PortClosed);
    harness.Tick(400);
    QCOMPARE(harness.Panel(1), report);
    QVERIFY(harness.Serial.Sent().isEmpty());
}

void TestLink::repeatArmedOnlyWithCountAndDelay_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("delay");
    QTest::addColumn<bool>("armed");
    QTest::newRow("count and delay") << QString("3") << QString("250") << true;
    QTest::newRow("delay 0") << QString("3") << QString("0") << false;
    QTest::newRow("empty count counts as 0") << QString() << QString("250") << false;
    QTest::newRow("a delay that rounds to 0 ms") << QString("3") << QString("0.4") << false;
}

void TestLink::repeatArmedOnlyWithCountAndDelay() {
    QFETCH(QString, count);
    QFETCH(QString, delay);
    QFETCH(bool, armed);
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    window.txtRepeatCmd->setText(count);
    window.txtRepeatDelay->setText(delay);
    window.Link().SendCommand(QStringLiteral("0M!"));
    QCOMPARE(window.tmrRepeatCmd->Enabled(), armed);
    QCOMPARE(window.cmdSend->isEnabled(), !armed);
    QCOMPARE(window.cmdID->isEnabled(), !armed);
    QCOMPARE(window.cmdQuery->isEnabled(), !armed);
    QVERIFY(window.cmdXQuery->isEnabled());
    if (armed)
        QCOMPARE(window.tmrRepeatCmd->Interval(), 250);
}

void TestLink::terminalKeys() {
    WindowHarness harness({"COM1"});
    harness.Window->show();
    harness.Window->SaxView->setFocus();
    harness.Serial.ClearSent();
    QTest::keyClick(harness.Window->SaxView, Qt::Key_Return);
    QTest::keyClicks(harness.Window->SaxView, QStringLiteral("0I!"));
    QCOMPARE(harness.Serial.Sent(), QByteArray("\r\n0I!"));
    QCOMPARE(harness.Window->Link().State().SendTime, 0.0);
}

void TestLink::completedAnswerIsShownAndLogged() {
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    window.Link().setRoundTripStart(harness.Clock.TickMs());
    window.Link().SendCommand(QStringLiteral("0R0!")); // the break takes 70 ms
    harness.Clock.Advance(40);
    harness.Serial.Receive("0+1.2"); // each arrival is looked at at once
    harness.Clock.Advance(8);
    harness.Serial.Receive("3\r\n");
    QCOMPARE(window.Transcript().rowCount(), 0); // still arriving
    harness.Tick();                              // the first quiet tick completes it
    QCOMPARE(harness.Panel(2), QStringLiteral("0+1.23\r\n"));
    QCOMPARE(harness.Panel(1), QString());
    QCOMPARE(window.lblRoundTrip->text(), QStringLiteral("Roundtrip delay = 128 mS"));
    QCOMPARE(window.Transcript().rowCount(), 2);
    QCOMPARE(window.Transcript().Item(1), QStringLiteral("- 30 2B 31 2E 32 33 0D 0A"));
    // The list keeps each answer on one line, its line end shown as a mark.
    const auto* delegate = qobject_cast<QStyledItemDelegate*>(window.lstHex->itemDelegate());
    QVERIFY(delegate->displayText(window.Transcript().Item(0), QLocale())
                .endsWith(QStringLiteral("<0+1.23\u21B5>")));
    QFile log(window.LogFilePath());
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray line = log.readAll();
    QVERIFY2(line.endsWith("0 - 30 2B 31 2E 32 33 0D 0A\r\n"), line.constData());

    // A second answer adds to panel 2 and carries the gap since the first.
    harness.Clock.Advance(240);
    harness.Serial.Receive("0\r\n");
    harness.Tick();
    QCOMPARE(harness.Panel(2), QStringLiteral("0+1.23\r\n0\r\n"));
    QVERIFY(window.Transcript().Item(2).contains(QStringLiteral(" [250 mS] <")));
}

void TestLink::timeOutIsShown() {
    WindowHarness harness({"COM1"});
    harness.Window->Link().SendCommand(QStringLiteral("0M!"));
    harness.Tick(9);
    QCOMPARE(harness.Panel(1), QString());
    harness.Tick(2);
    QCOMPARE(harness.Panel(1), QStringLiteral("TIMEOUT"));
    QCOMPARE(harness.Window->Transcript().rowCount(), 0);
}

void TestLink::parityErrorIsShown() {
    WindowHarness harness({"COM1"});
    harness.Window->Link().SendCommand(QStringLiteral("0M!"));
    harness.Serial.Receive("0+1\r\n");
    harness.Serial.SignalParityError();
    QCOMPARE(harness.Panel(1), QStringLiteral("PARITY ERROR"));
    harness.Window->StatusBar->SetPanelText(1, QString());
    harness.Tick(2);
    QCOMPARE(harness.Panel(1), QStringLiteral("PARITY ERROR")); // seen again at completion
    QCOMPARE(harness.Panel(2), QStringLiteral("0+1\r\n"));
}

// A new choice of port (or settings) starts reception afresh: the exchange
// in flight ends without an outcome, and neither a completion nor a
// time-out follows.
void TestLink::reopeningStartsReceptionAfresh() {
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    QSignalSpy ended(&window.Link(), &SensorLink::ExchangeEnded);
    const SendOutcome sent = window.Link().SendCommand(QStringLiteral("0M!"));
    harness.Serial.Receive("0+1");
    window.Ports().cboBaud_Click();
    harness.Tick(30);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).value<ExchangeId>(), sent.Exchange);
    QVERIFY(ended.at(0).at(1).value<ExchangeOutcome>() == ExchangeOutcome::Interrupted);
    QCOMPARE(window.Transcript().rowCount(), 0);
    QVERIFY(!harness.Panel(1).contains(QStringLiteral("TIMEOUT")));
}

void TestLink::receivedTextKeepsItsTail() {
    WindowHarness harness({"COM1"});
    harness.Window->Link().SendCommand(QStringLiteral("0M!"));
    for (char digit = '0'; digit <= '9'; ++digit) {
        harness.Serial.Receive(QByteArray(298, digit) + "\r\n");
        harness.Tick();
    }
    QCOMPARE(harness.Window->StatusBar->PanelText(2).size(), SensorLink::ReceivedTextLimit);
    QVERIFY(harness.Window->StatusBar->PanelText(2).endsWith(QByteArray(298, '9') + "\r\n"));
    QCOMPARE(harness.Window->Transcript().rowCount(), 20);
}

void TestLink::parityErrorAndLogFailureBothShow() {
    TempFolders folders;
    WindowHarness harness({"COM1"}, &folders);
    // A folder where the log file was: its lines can no longer be written.
    const QString logPath = harness.Window->LogFilePath();
    QVERIFY(QFile::remove(logPath));
    QVERIFY(QDir().mkdir(logPath));
    harness.Window->Link().SendCommand(QStringLiteral("0M!"));
    harness.Serial.Receive("0+1\r\n");
    harness.Serial.SignalParityError();
    harness.Tick();
    QVERIFY2(harness.Panel(1).startsWith(QStringLiteral("PARITY ERROR")),
             qPrintable(harness.Panel(1)));
    QVERIFY2(harness.Panel(1).contains(QStringLiteral("cannot be written")),
             qPrintable(harness.Panel(1)));
}

// The 10 ms tick runs while an exchange is in flight or bytes wait, and
// stops once reception is idle.
void TestLink::receptionTicksOnlyWhileNeeded() {
    WindowHarness harness({"COM1"});
    CTimer& tmrRcv = *harness.Window->tmrRcv;
    harness.Tick();
    QVERIFY(!tmrRcv.Enabled());
    harness.Window->Link().SendCommand(QStringLiteral("0M!"));
    QVERIFY(tmrRcv.Enabled());
    harness.Serial.Receive("0\r\n");
    harness.Tick();
    QVERIFY(!tmrRcv.Enabled());
    harness.Serial.Receive("a");
    QVERIFY(tmrRcv.Enabled());
    harness.Tick(11);
    QVERIFY(!tmrRcv.Enabled());
}

void TestLink::timer1StaysIdle() {
    WindowHarness harness({"COM1"});
    harness.Window->Timer1->RaiseTimer();
    QVERIFY(harness.Serial.BreakState());
    harness.Window->Timer1->RaiseTimer();
    QVERIFY(!harness.Serial.BreakState());
    QVERIFY(!harness.Window->Timer1->Enabled());
}

QTEST_MAIN(TestLink)
#include "tst_link.moc"
