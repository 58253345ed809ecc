#include "WindowHarness.h"

#include "platform/ui/DropDownComboBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// What a keyboard user meets in the window: the command box says what
// Enter does.
class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void commandBoxSaysWhatEnterDoes();
};

namespace {

// The window shown and active, so that the keyboard focus is its own.
void showActive(frmSDI12& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

} // namespace

// Enter in the command box writes CR LF to the line; the box says so, and
// that Send Command, at Alt+S, sends the command.
void TestKeyboard::commandBoxSaysWhatEnterDoes() {
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    const QString hint =
        QStringLiteral("Enter sends CR LF; Send Command (Alt+S) sends the command");
    QCOMPARE(window.cboCmd->toolTip(), hint);
    QCOMPARE(window.cboCmd->lineEdit()->placeholderText(), hint);

    showActive(window);
    window.cboCmd->setFocus();
    QSignalSpy sent(window.cmdSend, &QPushButton::clicked);
    QTRY_VERIFY(window.cboCmd->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(sent.count(), 1); // the button shows itself pressed first
    QCOMPARE(window.cmdSend->text().remove(QLatin1Char('&')), QStringLiteral("Send Command"));
}

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
