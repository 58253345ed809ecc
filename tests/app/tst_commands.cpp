#include "WindowHarness.h"

#include "commands/ui/CommandLine.h"
#include "platform/ui/ClickableLabel.h"
#include "platform/ui/DropDownComboBox.h"
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

private slots:
    void init() { harness.emplace(QStringList{"COM1"}); }
    void cleanup() { harness.reset(); }

    void boxesNormalize_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* box, const char* text, const char* expected) {
            QTest::newRow(text) << QString(box) << QString(text) << QString(expected);
        };
        // Each box with its own limit; tst_boxvalidation holds the rule itself.
        row("repeat", "150", "99");
        row("delay", "70000", "65535");
        row("wake", "500", "500");
        row("wake", "-3", "0");
    }
    void boxesNormalize() {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QLineEdit* edit = box == "repeat"  ? window().txtRepeatCmd
                          : box == "delay" ? window().txtRepeatDelay
                                           : window().txtWakeUp;
        QSignalSpy changes(edit, &QLineEdit::textChanged);
        edit->setText(text); // as pasted
        QCOMPARE(edit->text(), expected);
        QVERIFY(changes.count() <= 2); // the change and at most one correction
    }

    void commandTextGetsAddressAndTerminator_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("sent");
        const auto row = [](const char* address, const char* typed, const char* sent) {
            QTest::newRow(typed) << QString(address) << QString(typed) << QByteArray(sent);
        };
        row("0", "M", "0M!");
        row("0", "0M!", "00M!!"); // the box holds only the body
        row("3", "D0", "3D0!");
    }
    void commandTextGetsAddressAndTerminator() {
        QFETCH(QString, address);
        QFETCH(QString, typed);
        QFETCH(QByteArray, sent);
        window().txtNode->setText(address);
        clickSend(typed);
        QCOMPARE(harness->Serial.Sent(), sent);
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
        window().txtNode->setFocus();
        QTest::keyClick(window().txtNode, Qt::Key_Enter);
        QCOMPARE(harness->Serial.Sent(), QByteArray("\r\n\r\n"));
    }

    void unsendableCharactersAreRefused() {
        clickSend("M\u20AC");
        QVERIFY(harness->Serial.Sent().isEmpty());
        QVERIFY(!harness->Panel(1).isEmpty());
        QVERIFY(historyKeys().isEmpty());
    }

    void repeatCountsDownAndRestores_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QStringList>("countdown");
        QTest::addColumn<QString>("restored");
        QTest::newRow("count 3") << "3" << QStringList({"2", "1", "3"}) << "3";
        QTest::newRow("count 2.5") << "2.5" << QStringList({"1.5", "0.5", "2"}) << "2";
    }
    void repeatCountsDownAndRestores() {
        QFETCH(QString, count);
        QFETCH(QStringList, countdown);
        QFETCH(QString, restored);
        window().txtRepeatCmd->setText(count);
        window().txtRepeatDelay->setText("1000");
        clickSend("M");
        QVERIFY(window().tmrRepeatCmd->Enabled());
        QCOMPARE(window().tmrRepeatCmd->Interval(), 1000);
        for (const QString& shown : countdown) {
            QVERIFY(!window().cmdSend->isEnabled() && !window().cmdID->isEnabled() &&
                    !window().cmdQuery->isEnabled());
            QVERIFY(window().cmdXQuery->isEnabled());
            window().tmrRepeatCmd->RaiseTimer();
            QCOMPARE(window().txtRepeatCmd->text(), shown);
        }
        QCOMPARE(harness->Serial.Sent(), QByteArray("0M!0M!0M!0M!"));
        QCOMPARE(window().txtRepeatCmd->text(), restored);
        QVERIFY(!window().tmrRepeatCmd->Enabled());
        QVERIFY(window().cmdSend->isEnabled() && window().cmdID->isEnabled() &&
                window().cmdQuery->isEnabled());
    }

    void xQueryTakesOverARepetition() {
        window().txtRepeatCmd->setText("3");
        clickSend("M");
        window().tmrRepeatCmd->RaiseTimer(); // box shows 2
        QTest::mouseClick(window().cmdXQuery, Qt::LeftButton);
        harness->Serial.ClearSent();
        window().tmrRepeatCmd->RaiseTimer();
        window().tmrRepeatCmd->RaiseTimer();
        QCOMPARE(harness->Serial.Sent(), QByteArray("?X!?X!"));
        QCOMPARE(window().txtRepeatCmd->text(), "2");
        QVERIFY(!window().tmrRepeatCmd->Enabled());
    }

    void typingZeroStopsARepetition() {
        window().txtRepeatCmd->setText("5");
        QTest::mouseClick(window().cmdID, Qt::LeftButton);
        window().txtRepeatCmd->setText("0");
        window().tmrRepeatCmd->RaiseTimer();
        QCOMPARE(harness->Serial.Sent(), QByteArray("0I!0I!"));
        QVERIFY(!window().tmrRepeatCmd->Enabled());
        QCOMPARE(window().txtRepeatCmd->text(), "5");
    }

    void historyAddDeleteAndEraseAll() {
        window().cboCmd->setEditText("XIV");
        emit window().cboCmd->DropDown(); // an empty history leaves the typed text
        QCOMPARE(window().cboCmd->currentText(), "XIV");

        for (const char* command : {"M", "D0", "M", "I"})
            clickSend(command);
        QTest::mouseClick(window().cmdQuery, Qt::LeftButton); // quick commands are not remembered
        QCOMPARE(historyKeys(), QStringList({"M", "D0", "I"}));
        emit window().cboCmd->DropDown();
        QCOMPARE(window().cboCmd->count(), 3);

        window().cboCmd->setEditText("D0");
        window().cboCmd->setFocus();
        QTest::keyClick(window().cboCmd, Qt::Key_Delete);
        QCOMPARE(historyKeys(), QStringList({"M", "I"}));
        QTest::keyClick(window().cboCmd, Qt::Key_Delete); // no entry: ignored
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
