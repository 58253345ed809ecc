#include "platform/ui/Grid.h"

#include <QApplication>
#include <QTableWidget>
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
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
