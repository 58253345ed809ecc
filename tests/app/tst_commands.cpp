#include "WindowHarness.h"

#include "commands/ui/CommandLine.h"
#include "platform/ui/ClickableLabel.h"
#include "platform/ui/DropDownComboBox.h"
#include "timer/CTimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The command line and its history, the quick commands, the repeat facility
// and the timing boxes, through the window's own controls.
class TestCommands : public QObject {
    Q_OBJECT
private slots:
    void boxesNormalize_data();
    void boxesNormalize();
    void commandTextGetsAddressAndTerminator_data();
    void commandTextGetsAddressAndTerminator();
    void enterSendsLineEndOnly();
    void unsendableCharactersAreRefused();
    void repeatCountsDownAndRestores_data();
    void repeatCountsDownAndRestores();
    void xQueryTakesOverARepetition();
    void typingZeroStopsARepetition();
    void historyAddDeleteAndEraseAll();
    void choosingFromTheListSends();
};

namespace {
QStringList historyKeys(MemorySettingsStore& store) {
    QStringList keys;
    for (const auto& entry : store.GetAll(QStringLiteral("PROBETRM"), QStringLiteral("Commands")))
        keys << entry.first;
    return keys;
}

void clickSend(WindowHarness& harness, const QString& text) {
    harness.Window->cboCmd->setEditText(text);
    QTest::mouseClick(harness.Window->cmdSend, Qt::LeftButton);
}
} // namespace

void TestCommands::boxesNormalize_data() {
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

void TestCommands::boxesNormalize() {
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    QLineEdit* edit = box == QLatin1String("repeat")  ? window.txtRepeatCmd
                      : box == QLatin1String("delay") ? window.txtRepeatDelay
                                                      : window.txtWakeUp;
    QSignalSpy changes(edit, &QLineEdit::textChanged);
    edit->setText(text); // as pasted
    QCOMPARE(edit->text(), expected);
    QVERIFY(changes.count() <= 2); // the change and at most one correction
}

void TestCommands::commandTextGetsAddressAndTerminator_data() {
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

void TestCommands::commandTextGetsAddressAndTerminator() {
    QFETCH(QString, address);
    QFETCH(QString, typed);
    QFETCH(QByteArray, sent);
    WindowHarness harness({"COM1"});
    harness.Window->txtNode->setText(address);
    clickSend(harness, typed);
    QCOMPARE(harness.Serial.Sent(), sent);
    QCOMPARE(historyKeys(harness.Settings), QStringList({typed}));
}

void TestCommands::enterSendsLineEndOnly() {
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.cboCmd->addItem(QStringLiteral("M"));
    window.cboCmd->setEditText(QStringLiteral("M"));
    window.cboCmd->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(harness.Serial.Sent(), QByteArray("\r\n"));
    QCOMPARE(window.cboCmd->currentText(), QStringLiteral("M"));
    window.txtNode->setFocus();
    QTest::keyClick(window.txtNode, Qt::Key_Enter);
    QCOMPARE(harness.Serial.Sent(), QByteArray("\r\n\r\n"));
}

void TestCommands::unsendableCharactersAreRefused() {
    WindowHarness harness({"COM1"});
    clickSend(harness, QStringLiteral("M\u20AC"));
    QVERIFY(harness.Serial.Sent().isEmpty());
    QVERIFY(!harness.Panel(1).isEmpty());
    QVERIFY(historyKeys(harness.Settings).isEmpty());
}

void TestCommands::repeatCountsDownAndRestores_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("countdown");
    QTest::addColumn<QString>("restored");
    QTest::newRow("count 3") << "3" << QStringList({"2", "1", "3"}) << "3";
    QTest::newRow("count 2.5") << "2.5" << QStringList({"1.5", "0.5", "2"}) << "2";
}

void TestCommands::repeatCountsDownAndRestores() {
    QFETCH(QString, count);
    QFETCH(QStringList, countdown);
    QFETCH(QString, restored);
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    window.txtRepeatCmd->setText(count);
    window.txtRepeatDelay->setText(QStringLiteral("1000"));
    clickSend(harness, QStringLiteral("M"));
    QVERIFY(window.tmrRepeatCmd->Enabled());
    QCOMPARE(window.tmrRepeatCmd->Interval(), 1000);
    for (const QString& shown : countdown) {
        QVERIFY(!window.cmdSend->isEnabled() && !window.cmdID->isEnabled() &&
                !window.cmdQuery->isEnabled());
        QVERIFY(window.cmdXQuery->isEnabled());
        window.tmrRepeatCmd->RaiseTimer();
        QCOMPARE(window.txtRepeatCmd->text(), shown);
    }
    QCOMPARE(harness.Serial.Sent(), QByteArray("0M!0M!0M!0M!"));
    QCOMPARE(window.txtRepeatCmd->text(), restored);
    QVERIFY(!window.tmrRepeatCmd->Enabled());
    QVERIFY(window.cmdSend->isEnabled() && window.cmdID->isEnabled() &&
            window.cmdQuery->isEnabled());
}

void TestCommands::xQueryTakesOverARepetition() {
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    window.txtRepeatCmd->setText(QStringLiteral("3"));
    clickSend(harness, QStringLiteral("M"));
    window.tmrRepeatCmd->RaiseTimer(); // box shows 2
    QTest::mouseClick(window.cmdXQuery, Qt::LeftButton);
    harness.Serial.ClearSent();
    window.tmrRepeatCmd->RaiseTimer();
    window.tmrRepeatCmd->RaiseTimer();
    QCOMPARE(harness.Serial.Sent(), QByteArray("?X!?X!"));
    QCOMPARE(window.txtRepeatCmd->text(), QStringLiteral("2"));
    QVERIFY(!window.tmrRepeatCmd->Enabled());
}

void TestCommands::typingZeroStopsARepetition() {
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    window.txtRepeatCmd->setText(QStringLiteral("5"));
    QTest::mouseClick(window.cmdID, Qt::LeftButton);
    window.txtRepeatCmd->setText(QStringLiteral("0"));
    window.tmrRepeatCmd->RaiseTimer();
    QCOMPARE(harness.Serial.Sent(), QByteArray("0I!0I!"));
    QVERIFY(!window.tmrRepeatCmd->Enabled());
    QCOMPARE(window.txtRepeatCmd->text(), QStringLiteral("5"));
}

void TestCommands::historyAddDeleteAndEraseAll() {
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    window.cboCmd->setEditText(QStringLiteral("XIV"));
    emit window.cboCmd->DropDown(); // an empty history leaves the typed text
    QCOMPARE(window.cboCmd->currentText(), QStringLiteral("XIV"));

    for (const char* command : {"M", "D0", "M", "I"})
        clickSend(harness, QLatin1String(command));
    QTest::mouseClick(window.cmdQuery, Qt::LeftButton); // quick commands are not remembered
    QCOMPARE(historyKeys(harness.Settings), QStringList({"M", "D0", "I"}));
    emit window.cboCmd->DropDown();
    QCOMPARE(window.cboCmd->count(), 3);

    window.cboCmd->setEditText(QStringLiteral("D0"));
    window.cboCmd->setFocus();
    QTest::keyClick(window.cboCmd, Qt::Key_Delete);
    QCOMPARE(historyKeys(harness.Settings), QStringList({"M", "I"}));
    QTest::keyClick(window.cboCmd, Qt::Key_Delete); // no entry: ignored
    QTest::mouseClick(window.lblCmd, Qt::LeftButton);
    QVERIFY(historyKeys(harness.Settings).isEmpty());
    QCOMPARE(window.cboCmd->count(), 0);
}

void TestCommands::choosingFromTheListSends() {
    WindowHarness harness({"COM1"});
    frmSDI12& window = *harness.Window;
    clickSend(harness, QStringLiteral("M"));
    clickSend(harness, QStringLiteral("D0"));
    window.txtRepeatCmd->setText(QStringLiteral("2")); // disables Send Command
    clickSend(harness, QStringLiteral("I"));
    emit window.cboCmd->DropDown();
    harness.Serial.ClearSent();
    window.cboCmd->setFocus();
    window.cboCmd->setCurrentIndex(0);
    QTest::keyClick(window.cboCmd, Qt::Key_Down); // a move in the closed list sends
    QCOMPARE(harness.Serial.Sent(), QByteArray("0D0!"));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
