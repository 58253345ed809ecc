#include "platform/ui/Grid.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

namespace {
// The sheet's kinds of cell in a row: a line editor (column 0), a
// drop-down, a button and another line editor.
constexpr int DropDownColumn = 1;
constexpr int ButtonColumn = 2;
constexpr int LastColumn = 3;
} // namespace

// A shown grid of three data rows whose BeforeEdit handler works as the
// sheet's does: it sets the drop-down's list and counts button presses.
struct GridRig {
    Grid grid;
    QList<int> pressedRows;

    GridRig() {
        grid.setColumnCount(LastColumn + 1);
        grid.setRowCount(4);
        grid.setButtonColumn(ButtonColumn);
        for (int row = 1; row < grid.RowCount(); ++row) {
            grid.setCellText(row, DropDownColumn, "x1");
            grid.setCellText(row, ButtonColumn, "-->");
        }
        QObject::connect(&grid, &Grid::BeforeEdit, [this](int row, int column, bool&) {
            grid.setEditList(column == DropDownColumn ? "|#1;x1|#2;x2" : "");
            if (column == ButtonColumn)
                pressedRows.append(row);
        });
        grid.resize(500, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
    }
    QWidget* openEditor() const { return grid.Table()->viewport()->findChild<QWidget*>(); }
    // Clicks, double-clicks or turns the wheel over the current cell, or
    // presses the key named by how in the open editor, else in the table.
    void act(const QString& how) {
        QWidget* viewport = grid.Table()->viewport();
        const QPoint inViewport = grid.Table()->visualRect(grid.Table()->currentIndex()).center();
        const QPoint at = viewport->mapTo(&grid, inViewport);
        if (how == "click") {
            QTest::mouseClick(grid.windowHandle(), Qt::LeftButton, {}, at);
        } else if (how == "double click") {
            QTest::mouseDClick(grid.windowHandle(), Qt::LeftButton, {}, at);
        } else if (how == "wheel") {
            QWheelEvent wheel(inViewport, viewport->mapToGlobal(inViewport), {}, {0, -120},
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &wheel);
        } else {
            const QKeyCombination key = QKeySequence(how)[0];
            QWidget* target = openEditor() ? openEditor() : grid.Table();
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
        }
    }
};

// A window with a box before and after a grid of two data rows, whose
// column 1 edits with a drop-down; the grid's stored edits are kept.
struct WindowRig {
    QWidget window;
    QLineEdit* before = new QLineEdit(&window);
    Grid* grid = new Grid(&window);
    QLineEdit* after = new QLineEdit(&window);
    QStringList stored;

    WindowRig() {
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* widget : {static_cast<QWidget*>(before), static_cast<QWidget*>(grid),
                                static_cast<QWidget*>(after)})
            layout->addWidget(widget);
        grid->setColumnCount(2);
        grid->setRowCount(3);
        QObject::connect(grid, &Grid::BeforeEdit, [this](int, int column, bool&) {
            grid->setEditList(column == DropDownColumn ? "|#1;x1|#2;x2" : "");
        });
        QObject::connect(grid, &Grid::AfterEdit, [this] { stored.append(grid->EditText()); });
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QWidget* openEditor() const { return grid->Table()->viewport()->findChild<QWidget*>(); }
};

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    // Each deliberate gesture on a button cell presses it once; typing on it
    // does not.
    void buttonGestures_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<int>("presses");
        for (const char* gesture : {"click", "double click", "Enter", "F2", "Space"})
            QTest::newRow(gesture) << gesture << 1;
        QTest::newRow("typing") << "A" << 0;
    }
    void buttonGestures() {
        QFETCH(QString, gesture);
        GridRig rig;
        rig.grid.SetCurrentCell(2, ButtonColumn);
        rig.act(gesture);
        QTEST(int(rig.pressedRows.size()), "presses");
        QCOMPARE(rig.openEditor(), nullptr);
    }

    // Arriving on a button cell presses nothing; a press there afterwards
    // still does.
    void movingOntoAButtonPressesNothing_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QStringList>("steps"); // as GridRig::act takes them
        const auto add = [](const char* name, int row, int column, const QStringList& steps) {
            QTest::newRow(name) << row << column << steps;
        };
        add("Tab out of a drop-down", 2, DropDownColumn, {"F2", "Tab"});
        add("Backtab out of a line editor", 2, LastColumn, {"F2", "Backtab"});
        add("Tab", 2, DropDownColumn, {"Tab"});
        add("Backtab", 2, LastColumn, {"Backtab"});
        add("right arrow", 2, DropDownColumn, {"Right"});
        add("down arrow", 1, ButtonColumn, {"Down"});
        add("wheel", 2, ButtonColumn, {"wheel"});
    }
    void movingOntoAButtonPressesNothing() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QStringList, steps);
        GridRig rig;
        rig.grid.SetCurrentCell(row, column);
        for (const QString& step : steps)
            rig.act(step);
        QTRY_COMPARE(rig.openEditor(), nullptr);
        QCOMPARE(rig.grid.CurrentRow(), 2);
        QCOMPARE(rig.grid.CurrentColumn(), ButtonColumn);
        QCOMPARE(rig.pressedRows, QList<int>());
        rig.act("Space");
        QCOMPARE(rig.pressedRows, QList<int>({2}));
    }

    // Tab moves between cells, so Ctrl+Tab and Ctrl+Shift+Tab move the
    // focus out of the grid, to the next or the previous control; from an
    // open editor too, which stores its edit as it closes.
    void ctrlTabLeaves_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("typed"); // into an editor opened with F2; none when empty
        QTest::addColumn<bool>("backwards");
        QTest::addColumn<QStringList>("stored");
        QTest::newRow("from a cell") << 0 << "" << false << QStringList();
        QTest::newRow("backwards from a cell") << 0 << "" << true << QStringList();
        QTest::newRow("from a line editor") << 0 << "new" << false << QStringList{"new"};
        QTest::newRow("backwards from a line editor") << 0 << "new" << true << QStringList{"new"};
        QTest::newRow("from a drop-down")
            << int(DropDownColumn) << "x2" << false << QStringList{"x2"};
    }
    void ctrlTabLeaves() {
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, backwards);
        WindowRig rig;
        QTableWidget* table = rig.grid->Table();
        rig.grid->SetCurrentCell(1, column);
        table->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), table);
        if (!typed.isEmpty()) {
            QTest::keyClick(table, Qt::Key_F2);
            QTRY_VERIFY(rig.openEditor());
            if (auto* dropDown = qobject_cast<QComboBox*>(rig.openEditor())) {
                dropDown->hidePopup();
                dropDown->setCurrentText(typed);
            } else {
                QTest::keyClicks(rig.openEditor(), typed);
            }
        }
        const Qt::KeyboardModifiers control =
            Qt::ControlModifier | (backwards ? Qt::ShiftModifier : Qt::NoModifier);
        QTest::keyClick(QApplication::focusWidget(), backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                        control);
        QTRY_COMPARE(QApplication::focusWidget(), backwards ? rig.before : rig.after);
        QTEST(rig.stored, "stored");
        QTRY_COMPARE(rig.openEditor(), nullptr);
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
