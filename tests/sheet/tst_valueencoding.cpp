#include "sheet/SheetModel.h"
#include "sheet/ValueEncoding.h"

#include <QTest>

using namespace SheetColumn;

class TestValueEncoding : public QObject {
    Q_OBJECT
private slots:
    void edit_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expectedCommand");
        QTest::addColumn<QString>("expectedCell");
        const auto row = [](const char* name, const char* command, int column, const char* edit,
                            const char* code, const char* expectedCommand, const char* expectedCell,
                            const char* locale = "C") {
            QTest::newRow(name) << command << column << edit << code << locale << expectedCommand
                                << expectedCell;
        };
        row("XB too big", "XB3", Value, "12", "", "XB0", "0");
        row("XB rounded down", "XB3", Value, "7.9", "", "XB7", "7");
        row("XB negative", "XB3", Value, "-1", "", "XB0", "0");
        row("XW padded", "XW250", Value, "5", "", "XW005", "5");
        row("XW top", "XW250", Value, "999", "", "XW999", "999");
        row("XW too big", "XW250", Value, "1000", "", "XW000", "0");
        row("XW beyond 32 bits", "XW250", Value, "4294967301", "", "XW000", "0");
        row("XS cut", "XSA", Value, "ABCDEFGHIJ", "", "XSABCDEFGH", "ABCDEFGH");
        row("X0A cut", "X0AC", Value, "FC", "", "X0AF", "F");
        row("other command", "XRA0.2", Value, "3", "", "XRA3", "3");
        row("decimal comma", "XRA0.2", Value, "1,5", "", "XRA1.5", "1,5", "de_DE");
        row("not a number", "XRA0.2", Value, "abc", "", "XRA0", "0");
        row("Mode", "XOPM21001", Mode, "Off", "0", "XOPM01001", "Off");
        row("Gain, two characters", "XOPM21001", Gain, "x10", "10", "XOPM21010", "x10");
        row("Gain, one character", "XOPM21001", Gain, "x7", "7", "XOPM21071", "x7");
        row("Gain at the end", "XOPM2100", Gain, "x10", "10", "XOPM2101", "x10");
        row("too short", "XOPM", Type, "Raw", "0", "XOPM", "Raw");
    }
    void edit() {
        QFETCH(QString, command);
        QFETCH(int, column);
        QFETCH(QString, edit);
        QFETCH(QString, code);
        QFETCH(QString, locale);
        const EditResult result = EncodeEdit(command, column, edit, code, QLocale(locale));
        QTEST(result.Command, "expectedCommand");
        QTEST(result.CellText, "expectedCell");
    }
};

QTEST_GUILESS_MAIN(TestValueEncoding)
#include "tst_valueencoding.moc"
