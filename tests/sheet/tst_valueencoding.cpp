#include "platform/OptionList.h"
#include "sheet/SheetModel.h"
#include "sheet/ValueEncoding.h"

#include <QTest>

Q_DECLARE_METATYPE(EditKind)

class TestValueEncoding : public QObject {
    Q_OBJECT
private slots:
    void edit_data();
    void edit();
    void decimalCommaSentAsPoint();
    void editKind_data();
    void editKind();
    void optionList();
};

void TestValueEncoding::edit_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("expectedCommand");
    QTest::addColumn<QString>("expectedCell");
    const auto row = [](const char* name, const char* command, int column, const char* edit,
                        const char* code, const char* expectedCommand, const char* expectedCell) {
        QTest::newRow(name) << command << column << edit << code << expectedCommand << expectedCell;
    };
    using namespace SheetColumn;
    row("XB too big", "XB3", Value, "12", "", "XB0", "0");
    row("XB rounded down", "XB3", Value, "7.9", "", "XB7", "7");
    row("XB negative", "XB3", Value, "-1", "", "XB0", "0");
    row("XB no digits", "XB3", Value, "abc", "", "XB0", "0");
    row("XW padded", "XW250", Value, "5", "", "XW005", "5");
    row("XW top", "XW250", Value, "999", "", "XW999", "999");
    row("XW too big", "XW250", Value, "1000", "", "XW000", "0");
    row("XW beyond 32 bits", "XW250", Value, "4294967301", "", "XW000", "0");
    row("XS cut", "XSA", Value, "ABCDEFGHIJ", "", "XSABCDEFGH", "ABCDEFGH");
    row("XS empty", "XSA", Value, "", "", "XS", "");
    row("X0A cut", "X0AC", Value, "FC", "", "X0AF", "F");
    row("other command", "XRA0.2", Value, "3", "", "XRA3", "3");
    row("not a number", "XRA0.2", Value, "abc", "", "XRA0", "0");
    row("empty is no number", "XRA0.2", Value, "", "", "XRA0", "0");
    row("Mode", "XOPM21001", Mode, "Off", "0", "XOPM01001", "Off");
    row("Gain, two characters", "XOPM21001", Gain, "x10", "10", "XOPM21010", "x10");
    row("Gain, one character", "XOPM21001", Gain, "x7", "7", "XOPM21071", "x7");
    row("Gain at the end", "XOPM2100", Gain, "x10", "10", "XOPM2101", "x10");
    row("too short", "XOPM", Type, "Raw", "0", "XOPM", "Raw");
    row("empty code", "XOPM21001", Config, "?", "", "XOPM21001", "?");
    row("other column", "XB3", Name, "n", "1", "XB3", "n");
}

void TestValueEncoding::edit() {
    QFETCH(QString, command);
    QFETCH(int, column);
    QFETCH(QString, edit);
    QFETCH(QString, code);
    QFETCH(QString, expectedCommand);
    QFETCH(QString, expectedCell);
    const EditResult result = EncodeEdit(command, column, edit, code, QLocale::c());
    QCOMPARE(result.Command, expectedCommand);
    QCOMPARE(result.CellText, expectedCell);
}

void TestValueEncoding::decimalCommaSentAsPoint() {
    const QLocale german(QLocale::German, QLocale::Germany);
    const EditResult result = EncodeEdit("XRA0.2", SheetColumn::Value, "1,5", QString(), german);
    QCOMPARE(result.Command, "XRA1.5");
    QCOMPARE(result.CellText, "1,5");
}

void TestValueEncoding::editKind_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("data");
    QTest::addColumn<EditKind>("expected");
    const auto row = [](const char* name, int column, const char* data, EditKind expected) {
        QTest::newRow(name) << column << data << expected;
    };
    using namespace SheetColumn;
    row("Name", Name, "x", EditKind::Refuse);
    row("Action", Action, "x", EditKind::Refuse);
    row("Command", Command, "XB", EditKind::Refuse);
    row("Result", Result, "x", EditKind::Refuse);
    row("value row's Value", Value, "...", EditKind::PlainText);
    row("other row's Value", Value, "", EditKind::Refuse);
    row("option with a list", Gain, "|#01;x1", EditKind::DropDown);
    row("option without a list", Mode, "", EditKind::Refuse);
    row("Send", Send, "", EditKind::SendRow);
}

void TestValueEncoding::editKind() {
    QFETCH(int, column);
    QFETCH(QString, data);
    QFETCH(EditKind, expected);
    QCOMPARE(EditKindFor(column, data), expected);
}

void TestValueEncoding::optionList() {
    QStringList entries;
    for (const OptionEntry& entry : ParseOptionList("|#0;Off|#10;x10|#1;a;b|plain|"))
        entries.append(entry.Code + '=' + entry.Text);
    QCOMPARE(entries.join(' '), "0=Off 10=x10 1=a;b =plain");
}

QTEST_GUILESS_MAIN(TestValueEncoding)
#include "tst_valueencoding.moc"
