#include "WindowHarness.h"

#include "commands/ui/CommandLine.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/ClickableLabel.h"
#include "platform/ui/DropDownComboBox.h"
#include "platform/ui/WholeNumberBox.h"
#include "timer/CTimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <optional>

// The command line and its history, the quick commands, the repeat facility
// and the timing boxes, through the window's own controls.
class TestCommands : public QObject {
    Q_OBJECT
    std::optional<WindowHarness> harness;
    frmSDI12& window() { return *harness->Window; }

    QStringList historyKeys() const {
        QStringList keys;
        for (const auto& entry : harness->Settings.GetAll("PROBETRM", "Commands"))
            keys << entry.first;
        return keys;
    }
    void clickSend(const QString& text) {
        window().cboCmd->setEditText(text);
        QTest::mouseClick(window().cmdSend, Qt::LeftButton);
    }
    // The command on the line gets no answer: its time-out passes.
    void silence() { harness->Tick(12); }
    void repeatTick() {
        silence();
        window().tmrRepeatCmd->RaiseTimer();
    }

private slots:
    void init() { harness.emplace(QStringList{"COM1"}); }
    void cleanup() { harness.reset(); }

    void boxesNormalize_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // The rule itself is tst_boxvalidation's; here each box is wired to it.
        QTest::newRow("repeat") << QString("repeat") << QString("150") << QString("99");
        QTest::newRow("wake") << QString("wake") << QString("-3") << QString("0");
    }
    void boxesNormalize() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QLineEdit* edit = box == "repeat" ? window().txtRepeatCmd : window().txtWakeUp;
        edit->setText(text); // as pasted
        QCOMPARE(edit->text(), expected);
    }

    // Typed key by key, a fraction is never read as the digits around its
    // point: "2." stays while the operator types, and the box shows its
    // normal form once left. A box of whole seconds rounds (halves to even).
    void typingAFractionKeyByKey_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("whileTyping");
        QTest::addColumn<QString>("left");
        QTest::newRow("repeat count") << "count"
                                      << "2.5"
                                      << "2.5"
                                      << "2.5";
        QTest::newRow("repeat delay") << "delay"
                                      << "2.5"
                                      << "2.5"
                                      << "2.5";
        QTest::newRow("wake-up count") << "wake"
                                       << "2.5"
                                       << "2.5"
                                       << "2.5";
        QTest::newRow("unfinished point") << "count"
                                          << "2."
                                          << "2."
                                          << "2";
        QTest::newRow("lone minus") << "delay"
                                    << "-"
                                    << "-"
                                    << "0";
        QTest::newRow("exponent begun") << "wake"
                                        << "1E"
                                        << "1E"
                                        << "1";
        QTest::newRow("still clamped at once") << "count"
                                               << "150"
                                               << "99"
                                               << "99";
        QTest::newRow("measure interval") << "interval"
                                          << "2.5"
                                          << "2.5 s"
                                          << "2 s";
        QTest::newRow("measure interval, half up to even") << "interval"
                                                           << "3.5"
                                                           << "3.5 s"
                                                           << "4 s";
    }
    void typingAFractionKeyByKey() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        QLineEdit* edit = box == "count"   ? window().txtRepeatCmd
                          : box == "delay" ? window().txtRepeatDelay
                          : box == "wake"
                              ? window().txtWakeUp
                              : window().Measure->txtMeasureRepeat->findChild<QLineEdit*>();
        if (box == "interval")
            window().SSTab->setCurrentWidget(window().Measure);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTEST(edit->text(), "whileTyping");
        window().cboCmd->setFocus(); // the box is left
        QTEST(edit->text(), "left");
    }

    void commandTextGetsAddressAndTerminator_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("sent");
        QTest::newRow("D0") << QString("3") << QString("D0") << QByteArray("3D0!");
        // The box holds only the body.
        QTest::newRow("0M!") << QString("0") << QString("0M!") << QByteArray("00M!!");
    }
    void commandTextGetsAddressAndTerminator() {
        QFETCH(QString, address);
        QFETCH(QString, typed);
        window().txtNode->setText(address);
        clickSend(typed);
        QTEST(harness->Serial.Sent(), "sent");
        QCOMPARE(historyKeys(), QStringList({typed}));
    }

    void enterSendsLineEndOnly() {
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
        window().cboCmd->addItem("M");
        window().cboCmd->setEditText("M");
        window().cboCmd->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(harness->Serial.Sent(), QByteArray("\r\n"));
        QCOMPARE(window().cboCmd->currentText(), "M");
    }

    void unsendableCharactersAreRefused() {
        clickSend("M\u20AC");
        QVERIFY(harness->Serial.Sent().isEmpty());
        QVERIFY(historyKeys().isEmpty());
    }

    void repeatCountsDownAndRestores_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QStringList>("countdown");
        QTest::addColumn<QString>("restored");
        // A fraction counts down by whole sends and is restored rounded.
        QTest::newRow("count 2.5") << "2.5" << QStringList({"1.5", "0.5", "2"}) << "2";
    }
    void repeatCountsDownAndRestores() {
        QFETCH(QString, count);
        QFETCH(QStringList, countdown);
        window().txtRepeatCmd->setText(count);
        window().txtRepeatDelay->setText("1000");
        clickSend("M");
        for (const QString& shown : countdown) {
            QVERIFY(!window().cmdSend->isEnabled() && window().cmdXQuery->isEnabled());
            repeatTick();
            QCOMPARE(window().txtRepeatCmd->text(), shown);
        }
        QCOMPARE(harness->Serial.Sent(), QByteArray("0M!0M!0M!0M!"));
        QTEST(window().txtRepeatCmd->text(), "restored");
        QVERIFY(!window().tmrRepeatCmd->Enabled() && window().cmdSend->isEnabled());
    }

    void xQueryTakesOverARepetition() {
        window().txtRepeatCmd->setText("3");
        clickSend("M");
        repeatTick(); // box shows 2
        QTest::mouseClick(window().cmdXQuery, Qt::LeftButton);
        harness->Serial.ClearSent();
        repeatTick();
        repeatTick();
        QCOMPARE(harness->Serial.Sent(), QByteArray("?X!?X!"));
        QCOMPARE(window().txtRepeatCmd->text(), "2");
    }

    void typingZeroStopsARepetition() {
        window().txtRepeatCmd->setText("5");
        QTest::mouseClick(window().cmdID, Qt::LeftButton);
        window().txtRepeatCmd->setText("0");
        repeatTick();
        QCOMPARE(harness->Serial.Sent(), QByteArray("0I!0I!"));
        QCOMPARE(window().txtRepeatCmd->text(), "5");
    }

    // A repeat never cuts into the answer of the command before it: its tick
    // waits, and the count goes down only for what went out.
    void repeatWaitsForTheAnswerInFlight() {
        window().txtRepeatCmd->setText("2");
        window().txtRepeatDelay->setText("50");
        clickSend("M");
        harness->Serial.Receive("0");
        window().tmrRepeatCmd->RaiseTimer();
        window().tmrRepeatCmd->RaiseTimer();
        QCOMPARE(harness->Serial.Sent(), QByteArray("0M!"));
        QCOMPARE(window().txtRepeatCmd->text(), "2");
        harness->Serial.Receive("0013\r\n");
        harness->Tick();
        QCOMPARE(harness->Serial.Sent(), QByteArray("0M!0M!"));
        QCOMPARE(window().txtRepeatCmd->text(), "1");
    }

    void historyAddDeleteAndEraseAll() {
        for (const char* command : {"M", "D0", "M", "I"})
            clickSend(command);
        QTest::mouseClick(window().cmdQuery, Qt::LeftButton); // quick commands are not remembered
        QCOMPARE(historyKeys(), QStringList({"M", "D0", "I"}));

        window().cboCmd->setEditText("D0");
        window().cboCmd->setFocus();
        QTest::keyClick(window().cboCmd, Qt::Key_Delete);
        QCOMPARE(historyKeys(), QStringList({"M", "I"}));
        QTest::mouseClick(window().lblCmd, Qt::LeftButton);
        QVERIFY(historyKeys().isEmpty());
        QCOMPARE(window().cboCmd->count(), 0);
    }

    void choosingFromTheListSends() {
        clickSend("M");
        clickSend("D0");
        window().txtRepeatCmd->setText("2"); // disables Send Command
        clickSend("I");
        emit window().cboCmd->DropDown();
        harness->Serial.ClearSent();
        window().cboCmd->setFocus();
        window().cboCmd->setCurrentIndex(0);
        QTest::keyClick(window().cboCmd, Qt::Key_Down); // a move in the closed list sends
        QCOMPARE(harness->Serial.Sent(), QByteArray("0D0!"));
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
