#include "WindowHarness.h"

#include "link/ui/TranscriptView.h"
#include "measure/MeasurementRunner.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/DropDownComboBox.h"
#include "platform/ui/Grid.h"

#include <QAbstractSpinBox>
#include <QAccessible>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

// What a keyboard user meets in the window: every table can be left with
// the keys, every box is announced by a name of its own, and the command
// box says what Enter does.
class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void tablesAreLeftByTheKeyboard_data();
    void tablesAreLeftByTheKeyboard();
    void sheetKeepsTabForItsCells();
    void everyBoxHasANameOfItsOwn();
    void commandBoxSaysWhatEnterDoes();
};

namespace {

// The window shown and active, so that the keyboard focus is its own.
void showActive(frmSDI12& window) {
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

QAbstractItemView* tableNamed(frmSDI12& window, const QString& name) {
    if (name == QLatin1String("Measure"))
        return window.Measure->grdMeasurements;
    if (name == QLatin1String("Korvalink"))
        return window.fg->Table();
    return window.lstHex;
}

// Puts the focus on the table's first cell, on its page.
void focusTable(frmSDI12& window, QAbstractItemView& view) {
    for (int page = 0; page < window.SSTab->count(); ++page) {
        if (window.SSTab->widget(page)->isAncestorOf(&view))
            window.SSTab->setCurrentIndex(page);
    }
    view.setFocus();
    view.setCurrentIndex(view.model()->index(0, 0));
    QTRY_COMPARE(QApplication::focusWidget(), &view);
}

bool focusWithin(const QWidget& widget) {
    const QWidget* focus = QApplication::focusWidget();
    return focus == &widget || widget.isAncestorOf(focus);
}

} // namespace

// Each table, with rows in it, gives up the focus to the key that leaves
// it: Tab and Shift+Tab where Tab has no other use, Ctrl+Tab and
// Ctrl+Shift+Tab in the sheet, whose Tab moves between cells.
void TestKeyboard::tablesAreLeftByTheKeyboard_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::newRow("Measure, Tab") << "Measure" << int(Qt::Key_Tab) << Qt::KeyboardModifiers();
    QTest::newRow("Measure, Shift+Tab")
        << "Measure" << int(Qt::Key_Backtab) << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("HEX, Tab") << "HEX" << int(Qt::Key_Tab) << Qt::KeyboardModifiers();
    QTest::newRow("HEX, Shift+Tab")
        << "HEX" << int(Qt::Key_Backtab) << Qt::KeyboardModifiers(Qt::ShiftModifier);
    QTest::newRow("Korvalink, Ctrl+Tab")
        << "Korvalink" << int(Qt::Key_Tab) << Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("Korvalink, Ctrl+Shift+Tab")
        << "Korvalink" << int(Qt::Key_Backtab)
        << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier);
}

void TestKeyboard::tablesAreLeftByTheKeyboard() {
    QFETCH(QString, table);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    // Rows in every table, so that a key could move between cells.
    MeasurementRecord record;
    record.Time = QDateTime(QDate(2026, 1, 31), QTime(14, 5, 9));
    record.Outcome.Values = {{QStringLiteral("+21.37"), 21.37}, {QStringLiteral("+7.9"), 7.9}};
    for (int row = 0; row < 3; ++row)
        emit window.Measure->Runner().measurementEnded(record);
    for (int row = 0; row < 3; ++row)
        window.fg->AddRow(QStringLiteral("Setting %1").arg(row));
    harness.Serial.Receive("0+21.37\r\n");
    harness.Tick(3);
    showActive(window);
    QAbstractItemView& view = *tableNamed(window, table);
    QVERIFY(view.model()->rowCount() > 1);
    focusTable(window, view);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
    QTRY_VERIFY(!focusWithin(view));
    QVERIFY(QApplication::focusWidget());
}

// Tab and Shift+Tab still move between the sheet's cells.
void TestKeyboard::sheetKeepsTabForItsCells() {
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    window.fg->AddRow(QStringLiteral("Setting"));
    showActive(window);
    QTableWidget& sheet = *window.fg->Table();
    focusTable(window, sheet);
    QTest::keyClick(&sheet, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &sheet);
    QCOMPARE(sheet.currentColumn(), 1);
    QTest::keyClick(&sheet, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), &sheet);
    QCOMPARE(sheet.currentColumn(), 0);
}

// A screen reader announces each box by its own name, never by its frame's
// alone; the boxes of the command area by their labels' words.
void TestKeyboard::everyBoxHasANameOfItsOwn() {
    WindowHarness harness;
    frmSDI12& window = *harness.Window;
    const QMap<QWidget*, QString> labelled{{window.txtNode, "Addr"},
                                           {window.txtRepeatCmd, "Repeat command Nr."},
                                           {window.txtRepeatDelay, "Repeat delay (mS)"},
                                           {window.txtWakeUp, "WakeUp Characters"}};
    QMap<QString, QWidget*> named;
    for (QWidget* box : window.findChildren<QWidget*>()) {
        const bool isBox = qobject_cast<QLineEdit*>(box) || qobject_cast<QComboBox*>(box) ||
                           qobject_cast<QAbstractSpinBox*>(box);
        // The editor inside a combo or spin box is announced with its box.
        QWidget* holder = box->parentWidget();
        if (!isBox || qobject_cast<QComboBox*>(holder) || qobject_cast<QAbstractSpinBox*>(holder))
            continue;
        // On Linux a combo box's accessible text is its current item; the
        // name given to it is what tells two boxes showing "M" apart.
        const QString name =
            !box->accessibleName().isEmpty()
                ? box->accessibleName()
                : QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name);
        const QByteArray which = box->metaObject()->className() + QByteArray(" ") + name.toUtf8() +
                                 " " + box->objectName().toUtf8();
        QVERIFY2(!name.isEmpty(), which);
        QVERIFY2(!named.contains(name), which);
        named.insert(name, box);
        if (labelled.contains(box))
            QCOMPARE(name, labelled.value(box));
    }
    QVERIFY(named.size() >= 10);
}

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
