#include "measure/MeasurementTable.h"

#include <QSignalSpy>
#include <QTest>

// The table on screen keeps the latest rows only, so that days of
// measurements keep memory flat; views are told of every row that goes.
class TestMeasurementTable : public QObject {
    Q_OBJECT
private slots:
    void keepsTheLatestRows() {
        MeasurementTable table;
        QSignalSpy removed(&table, &QAbstractItemModel::rowsRemoved);
        const QDateTime start(QDate(2026, 1, 31), QTime(0, 0), Qt::UTC);
        for (int row = 0; row < MeasurementTable::RowLimit + 5; ++row) {
            MeasurementRecord record{start.addSecs(row), "0R0!", {}, '0'};
            record.Outcome.Values = {{QString::number(row), double(row)}};
            table.Append(record);
        }
        QCOMPARE(table.rowCount(), MeasurementTable::RowLimit);
        QCOMPARE(removed.count(), 5);
        QCOMPARE(table.data(table.index(0, 1)).toString(), "5");
        QCOMPARE(table.Records().last().Time, start.addSecs(MeasurementTable::RowLimit + 4));
    }
};

QTEST_APPLESS_MAIN(TestMeasurementTable)
#include "tst_measurementtable.moc"
