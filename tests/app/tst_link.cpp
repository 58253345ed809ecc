#include "WindowHarness.h"

#include "app/TwoPanelStatusBar.h"

#include "link/TranscriptModel.h"
#include "link/ui/SensorLink.h"
#include "link/ui/TranscriptView.h"
#include "platform/serial/SerialTerminalView.h"
#include "platform/ui/Grid.h"
#include "sheet/ui/Sheet.h"
#include "timer/CTimer.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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
    void transmittingOnAClosedPortIsReported();
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
    QVERIFY(harness.Window->Link().SendCommand(QStringLiteral("0M!")));
    QCOMPARE(harness.Serial.Calls(), calls);
    QCOMPARE(harness.Clock.Sleeps(), sleeps);
    QCOMPARE(harness.Window->Link().LastCommand(), QStringLiteral("0M!"));
    QVERIFY(harness.Window->Link().State().SendTime > 0);
}

void TestLink::tooManyWakeUpCharactersSendNothing() {
    WindowHarness harness({"COM1"});
    harness.Window->txtWakeUp->setText(QStringLiteral("5000"));
    harness.Serial.ClearCalls();
    QVERIFY(!harness.Window->Link().SendCommand(QStringLiteral("0M!")));
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

void TestLink::transmittingOnAClosedPortIsReported() {
    WindowHarness harness({"COM1"});
    harness.Serial.setIsOpen(false);
    harness.Window->txtWakeUp->setText(QStringLiteral("2"));
    harness.Window->Link().SendCommand(QStringLiteral("0I!"));
    QCOMPARE(harness.Panel(1), QStringLiteral("Not sent: the port is closed"));
    QVERIFY(harness.Serial.Sent().isEmpty());
}

void TestLink::repeatArmedOnlyWithCountAndDelay_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("delay");
    QTest::addColumn<bool>("armed");
    QTest::newRow("count and delay") << QString("3") << QString("250") << true;
    QTest::newRow("delay 0") << QString("3") << QString("0") << false;
    QTest::newRow("empty count counts as 0") << QString() << QString("250") << false;
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
    harness.Serial.Receive("0+1");
    harness.Serial.SignalParityError();
    QCOMPARE(harness.Panel(1), QStringLiteral("PARITY ERROR"));
    harness.Window->StatusBar->SetPanelText(1, QString());
    harness.Tick(2);
    QCOMPARE(harness.Panel(1), QStringLiteral("PARITY ERROR")); // seen again at completion
    QCOMPARE(harness.Panel(2), QStringLiteral("0+1"));
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
