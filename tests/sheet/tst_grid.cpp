#include "platform/ui/Grid.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

namespace {

QPoint cellCentre(Grid& grid, int row, int column) {
    QTableWidget* table = grid.Table();
    const QPoint inViewport = table->visualItemRect(table->item(row - 1, column)).center();
    return table->viewport()->mapTo(grid.window(), inViewport);
}

QLineEdit* openEditor(Grid& grid) {
    return grid.Table()->viewport()->findChild<QLineEdit*>();
}

} // namespace

class TestGrid : public QObject {
    Q_OBJECT
private slots:
    // Row 0 is the header row: it counts in RowCount and holds the captions.
    void headerRowAndCells() {
        Grid grid;
        grid.setColumnCount(3);
        grid.setRowCount(1);
        grid.setHeaderCaptions(QStringLiteral("A|B|C"));
        grid.AddRow(QStringLiteral("first"));
        grid.setCellData(1, 2, QStringLiteral("hidden"));
        QCOMPARE(grid.RowCount(), 2);
        QCOMPARE(grid.CellText(0, 1), QStringLiteral("B"));
        QCOMPARE(grid.CellText(1, 0), QStringLiteral("first"));
        QCOMPARE(grid.CellData(1, 2), QStringLiteral("hidden"));
        QCOMPARE(grid.CellData(1, 1), QString());
        grid.setCellText(5, 0, QStringLiteral("outside")); // ignored
        grid.setRowCount(0);
        QCOMPARE(grid.RowCount(), 1);
        grid.ClearGrid();
        QCOMPARE(grid.CellText(0, 1), QString());
    }

    void editGestures_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<bool>("refuse");
        QTest::addColumn<int>("finishKey");
        QTest::addColumn<QString>("stored");
        for (const char* gesture : {"F2", "Enter", "typing", "double click"}) {
            const QString typed = QLatin1String(gesture) == QLatin1String("typing") ? "x42" : "42";
            QTest::addRow("%s", gesture) << gesture << false << int(Qt::Key_Return) << typed;
            QTest::addRow("%s Escape", gesture) << gesture << false << int(Qt::Key_Escape) << "old";
            QTest::addRow("%s refused", gesture) << gesture << true << 0 << "old";
        }
    }
    // Every gesture asks BeforeEdit once; a refusal opens no editor; Return
    // stores the text and raises AfterEdit, Escape drops the edit.
    void editGestures() {
        QFETCH(QString, gesture);
        QFETCH(bool, refuse);
        QFETCH(int, finishKey);
        QFETCH(QString, stored);
        Grid grid;
        grid.setColumnCount(2);
        grid.AddRow(QString());
        grid.setCellText(1, 1, QStringLiteral("old"));
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QList<QPoint> asked;
        int afterEdits = 0;
        connect(&grid, &Grid::BeforeEdit, &grid, [&](int row, int column, bool& cancel) {
            asked.append({row, column});
            cancel = refuse;
        });
        connect(&grid, &Grid::AfterEdit, &grid, [&] { ++afterEdits; });

        grid.SetCurrentCell(1, 1);
        if (gesture == "double click")
            QTest::mouseDClick(grid.windowHandle(), Qt::LeftButton, {}, cellCentre(grid, 1, 1));
        else if (gesture == "typing")
            QTest::keyClick(grid.Table(), Qt::Key_X);
        else
            QTest::keyClick(grid.Table(), gesture == "F2" ? Qt::Key_F2 : Qt::Key_Return);
        QCOMPARE(asked, QList<QPoint>{QPoint(1, 1)});
        QCOMPARE(openEditor(grid) != nullptr, !refuse);
        if (!refuse) {
            QTest::keyClicks(openEditor(grid), QStringLiteral("42"));
            QTest::keyClick(openEditor(grid), Qt::Key(finishKey));
        }
        QTest::qWait(20);
        QCOMPARE(grid.CellText(1, 1), stored);
        QCOMPARE(afterEdits, finishKey == Qt::Key_Return ? 1 : 0);
        QCOMPARE(asked.size(), 1);
    }
};

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
