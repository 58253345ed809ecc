#include "sheet/Batch.h"

#include <QtTest>
#include <limits>

class TestBatch : public QObject {
    Q_OBJECT
private slots:
    void nextWriteRow_data() {
        QTest::addColumn<QString>("actions"); // Action cells of rows 0, 1, ... (row 0: header)
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("expected");
        QTest::newRow("first WRITE") << "Action,READ,WRITE,READ,WRITE" << 1 << 2;
        QTest::newRow("passes over READ") << "Action,READ,WRITE,READ,WRITE" << 3 << 4;
        QTest::newRow("at from itself") << "Action,READ,WRITE,READ,WRITE" << 2 << 2;
        QTest::newRow("none after the last") << "Action,READ,WRITE,READ,READ" << 3 << 0;
        QTest::newRow("beyond the sheet") << "Action,WRITE" << 5 << 0;
        QTest::newRow("header only") << "Action" << 1 << 0;
        QTest::newRow("header never chosen") << "WRITE,READ" << 0 << 0;
        QTest::newRow("exact text only") << "Action,write,WRITE " << 1 << 0;
    }
    void nextWriteRow() {
        QFETCH(QString, actions);
        QFETCH(int, from);
        QTEST(Batch::NextWriteRow(actions.split(QLatin1Char(',')), from), "expected");
    }

    void advanceAfterExchange_data() {
        QTest::addColumn<int>("sheetRow");
        QTest::addColumn<int>("lastRow");
        QTest::addColumn<int>("nextRow");
        QTest::addColumn<bool>("ended");
        QTest::newRow("moves on") << 2 << 4 << 3 << false;
        QTest::newRow("last row ends") << 4 << 4 << 1 << true;
        QTest::newRow("beyond the last ends") << 9 << 4 << 1 << true;
        QTest::newRow("header-only sheet") << 1 << 0 << 1 << true;
        QTest::newRow("no overflow") << std::numeric_limits<int>::max() << 4 << 1 << true;
    }
    void advanceAfterExchange() {
        QFETCH(int, sheetRow);
        QFETCH(int, lastRow);
        const Batch::Advance next = Batch::AdvanceAfterExchange(sheetRow, lastRow);
        QTEST(int(next.SheetRow), "nextRow");
        QTEST(next.Ended, "ended");
    }
};

QTEST_APPLESS_MAIN(TestBatch)
#include "tst_batch.moc"
