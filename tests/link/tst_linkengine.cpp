#include "support/EngineOnFakes.h"

#include <QtTest>

#include <optional>

// The link engine without a window: who may send when, what each exchange
// is credited with, what the operator is told, and the port that comes back.
class TestLinkEngine : public QObject {
    Q_OBJECT
    std::optional<EngineOnFakes> rig;
    QObject owner; // the timed senders' owner

    // Asks for a one-exchange turn that sends `command` when it comes, and
    // notes the order in which turns came.
    TurnId timedSend(const QString& command, QStringList* order = nullptr) {
        return rig->Link.requestTurn(TurnKind::OneExchange, &owner, QString(),
                                     [this, command, order](TurnId turn) {
                                         if (order)
                                             order->append(command);
                                         rig->Link.sendInTurn(turn, command);
                                     });
    }
    TurnId openConversation(const QString& reason) {
        return rig->Link.requestTurn(TurnKind::Conversation, &owner, reason, [](TurnId) {});
    }
    QByteArray sent() const { return rig->Serial.Sent(); }

private slots:
    void init() {
        rig.emplace();
        rig->Serial.ClearSent();
    }
    void cleanup() { rig.reset(); }

    // A timed sender never cuts into an exchange in flight, however that
    // exchange ends; the next command goes out only after its outcome.
    void timedSenderWaitsForTheOutcome_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<ExchangeOutcome>("outcome");
        QTest::newRow("answered") << "answer" << ExchangeOutcome::Answered;
        QTest::newRow("timed out") << "silence" << ExchangeOutcome::TimedOut;
        QTest::newRow("port reopened") << "reopen" << ExchangeOutcome::Interrupted;
    }
    void timedSenderWaitsForTheOutcome() {
        QFETCH(QString, ending);
        QFETCH(ExchangeOutcome, outcome);
        rig->Link.sendCommand("0I!");
        const TurnId turn = timedSend("0M!");
        QVERIFY(rig->Link.isWaiting(turn));
        rig->Tick(5);
        QCOMPARE(sent(), QByteArray("0I!"));
        if (ending == "answer")
            rig->Answer("013QUENVAREL\r\n");
        else if (ending == "silence")
            rig->Silence();
        else
            rig->Link.chooseLineSettings("1200,E,7,1");
        QCOMPARE(rig->OutcomeAt(0), outcome);
        QVERIFY(!rig->Link.isWaiting(turn));
        QCOMPARE(sent(), QByteArray("0I!0M!"));
    }

    // The operator's press goes at once: the timed sender's exchange in
    // flight ends Interrupted, and the next timed sender waits for the press's.
    void operatorPressInterrupts() {
        timedSend("0M!");
        const TurnId next = timedSend("0D0!");
        const SendOutcome press = rig->Link.sendCommand("0I!");
        QVERIFY(press.IsSent());
        QCOMPARE(rig->ExchangeAt(0), press.Exchange - 1);
        QCOMPARE(rig->OutcomeAt(0), ExchangeOutcome::Interrupted);
        QVERIFY(rig->Link.isWaiting(next));
        rig->Answer("0QUENVAREL\r\n");
        QCOMPARE(rig->ExchangeAt(1), press.Exchange);
        QCOMPARE(sent(), QByteArray("0M!0I!0D0!"));
    }

    // While a conversation is open, only it sends: the operator's presses
    // and typed keys are refused with its reason, timed senders wait.
    void conversationIsNotCutInto() {
        const TurnId conversation = openConversation("a measurement is running");
        QVERIFY(rig->Link.sendInTurn(conversation, "0M!").IsSent());
        rig->Answer("00013\r\n");
        const TurnId waiting = timedSend("0R0!");
        const SendOutcome press = rig->Link.sendCommand("0I!");
        QCOMPARE(press.What, SendOutcome::Kind::Held);
        QCOMPARE(press.Reason, "a measurement is running");
        rig->Link.transmitTyped("x");
        QCOMPARE(rig->Panel1(), "Not sent: a measurement is running");
        QVERIFY(rig->Link.sendInTurn(conversation, "0D0!").IsSent());
        rig->Answer("0+1+2+3\r\n");
        QVERIFY(rig->Link.isWaiting(waiting));
        rig->Link.endTurn(conversation);
        QCOMPARE(sent(), QByteArray("0M!0D0!0R0!"));
    }

    // Between two conversations, the senders that waited go in the order
    // they asked, each after the outcome of the one before.
    void waitingSendersGoInOrder() {
        const TurnId conversation = openConversation("busy");
        QStringList order;
        timedSend("1M!", &order);
        timedSend("2M!", &order);
        timedSend("3M!", &order);
        rig->Link.endTurn(conversation);
        QCOMPARE(order, QStringList({"1M!"}));
        rig->Answer("10011\r\n");
        rig->Silence();
        QCOMPARE(order, QStringList({"1M!", "2M!", "3M!"}));
        QCOMPARE(sent(), QByteArray("1M!2M!3M!"));
    }

    // A sender whose owner is gone is skipped; one that sends nothing in its
    // turn gives the line back at once.
    void turnsOfGoneOrSilentSenders() {
        const TurnId conversation = openConversation("busy");
        auto* gone = new QObject;
        rig->Link.requestTurn(TurnKind::OneExchange, gone, QString(),
                              [this](TurnId turn) { rig->Link.sendInTurn(turn, "9M!"); });
        delete gone;
        rig->Link.requestTurn(TurnKind::OneExchange, &owner, QString(), [](TurnId) {});
        timedSend("0M!");
        rig->Link.endTurn(conversation);
        QCOMPARE(sent(), QByteArray("0M!"));
    }

    // Between a command's request and its transmission (its break on the
    // line) no tick runs: bytes that arrive wait for the command, and no
    // time-out is counted.
    void noTickDuringTheBreak() {
        rig->Serial.setHoldWrites(true);
        const SendOutcome outcome = rig->Link.sendCommand("0M!");
        rig->Serial.Receive("0");
        rig->Tick(20);
        QCOMPARE(rig->Ended.count(), 0);
        QCOMPARE(rig->Transmitted.count(), 0);
        QCOMPARE(rig->Serial.Waits(), QList<int>({50, 20}));
        rig->Serial.FinishWrites();
        QCOMPARE(rig->Transmitted.count(), 1);
        rig->Answer("0013\r\n");
        QCOMPARE(rig->ExchangeAt(0), outcome.Exchange);
        QCOMPARE(rig->Ended.at(0).at(2).toByteArray(), "00013\r\n");
    }

    // A character the line cannot carry is refused before anything goes out.
    void charactersTheLineCannotCarry_data() {
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<QString>("report");
        QTest::newRow("é on 7 data bits") << "1200,E,7,1"
                                          << "0XSé!" << QByteArray()
                                          << "Not sent: \"é\" cannot go on a line of 7 data "
                                             "bits (1200,E,7,1)";
        QTest::newRow("é on 8 data bits") << "9600,N,8,1"
                                          << "0XSé!" << QByteArray("0XS\xE9!") << "";
        QTest::newRow("beyond one byte") << "9600,N,8,1"
                                         << "0X€!" << QByteArray()
                                         << "Not sent: the command holds characters that "
                                            "cannot go on the serial line";
    }
    void charactersTheLineCannotCarry() {
        QFETCH(QString, settings);
        QFETCH(QString, command);
        rig->Link.chooseLineSettings(settings);
        rig->Serial.ClearSent();
        const SendOutcome outcome = rig->Link.sendCommand(command);
        QFETCH(QString, report);
        QTEST(sent(), "sent");
        QCOMPARE(outcome.IsSent(), report.isEmpty());
        QVERIFY2(report.isEmpty() ? !rig->Panel1().contains("Not sent")
                                  : rig->Panel1().endsWith(report),
                 qPrintable(rig->Panel1()));
    }

    // The device goes away: the engine tries the same port once a second
    // until it is back, says so once, and sends again. A port the operator
    // chooses meanwhile stops the attempts.
    void lostPortComesBack() {
        QSignalSpy openChanges(&rig->Link, &ExchangeLink::portOpenChanged);
        const SendOutcome inFlight = rig->Link.sendCommand("0M!");
        rig->Serial.setOpenFails(true);
        rig->Serial.LoseDevice();
        QCOMPARE(rig->OutcomeAt(0), ExchangeOutcome::Interrupted);
        QCOMPARE(rig->ExchangeAt(0), inFlight.Exchange);
        QCOMPARE(rig->Link.linkStateText(), "lost \u2014 reopening");
        QVERIFY(rig->Panel1().contains("reopened as soon as it is back, or choose another port"));
        QVERIFY(rig->Link.reopenTimer().Enabled());
        QCOMPARE(rig->Link.reopenTimer().Interval(), 1000);
        QCOMPARE(rig->Link.sendCommand("0M!").What, SendOutcome::Kind::PortLost);

        rig->Link.tmrReopen_Timer(); // still gone
        QCOMPARE(rig->Link.linkStateText(), "lost \u2014 reopening");
        rig->Serial.setOpenFails(false);
        rig->Link.tmrReopen_Timer();
        QCOMPARE(rig->Link.linkStateText(), "\u25CF COM1 1200,E,7,1");
        QVERIFY(!rig->Link.reopenTimer().Enabled());
        QVERIFY(rig->Panel1().startsWith("COM1 is back: Open: COM1 at 1200,E,7,1"));
        QCOMPARE(openChanges.count(), 2);
        QVERIFY(rig->Link.sendCommand("0M!").IsSent());
        QCOMPARE(rig->Panel1(), ""); // said once

        rig->Serial.LoseDevice();
        rig->Serial.setOpenFails(true);
        rig->Link.choosePort("COM2"); // the operator's choice
        QVERIFY(!rig->Link.reopenTimer().Enabled());
        QCOMPARE(rig->Link.linkStateText(), "closed");
    }

    // Each kind of report keeps its place: a time-out does not hide a log
    // that cannot be written, and the log's report stays until a line is
    // written again.
    void reportsStandSideBySide() {
        QVERIFY(QFile::remove(rig->Log.Path()) && QDir().mkdir(rig->Log.Path()));
        rig->Link.sendCommand("0M!");
        rig->Answer("0\r\n");
        QVERIFY(rig->Panel1().contains("cannot be written"));
        rig->Link.sendCommand("0M!");
        rig->Silence();
        QVERIFY(rig->Panel1().startsWith("TIMEOUT  |  "));
        QVERIFY(rig->Panel1().contains("cannot be written"));
        QVERIFY(QDir().rmdir(rig->Log.Path()));
        rig->Link.sendCommand("0M!");
        rig->Answer("0\r\n");
        QCOMPARE(rig->Panel1(), "");
    }
};

QTEST_MAIN(TestLinkEngine)
#include "tst_linkengine.moc"
