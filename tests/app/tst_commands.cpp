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
            window().tmrRepeatCmd->RaiseTimer();
            QCOMPARE(window().txtRepeatCmd->text(), shown);
        }
        QCOMPARE(harness->Serial.Sent(), QByteArray("0M!0M!0M!0M!"));
        QTEST(window().txtRepeatCmd->text(), "restored");
        QVERIFY(!window().tmrRepeatCmd->Enabled() && window().cmdSend->isEnabled());
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
    }

    void typingZeroStopsARepetition() {
        window().txtRepeatCmd->setText("5");
        QTest::mouseClick(window().cmdID, Qt::LeftButton);
        window().txtRepeatCmd->setText("0");
        window().tmrRepeatCmd->RaiseTimer();
        QCOMPARE(harness->Serial.Sent(), QByteArray("0I!0I!"));
        QCOMPARE(window().txtRepeatCmd->text(), "5");
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
