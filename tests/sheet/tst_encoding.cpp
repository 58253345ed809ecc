#include "sheet/SheetModel.h"
#include "sheet/ValueEncoding.h"

#include <QtTest>

using namespace SheetColumn;

namespace {

// "😀" is one character written as the surrogate pair D83D DE00.
const QString Face = QString::fromUtf8("\xF0\x9F\x98\x80");

} // namespace

class TestEncoding : public QObject {
    Q_OBJECT
private slots:
    // What an edit sends and shows must not depend on the process's locale
    // (this test also runs under a comma-decimal one), nor cut a character.
    void edit_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("code");     // the option's picked code
        QTest::addColumn<QString>("expected"); // the command, a blank, the cell's text
        const auto value = [](const char* name, const char* locale, const char* command,
                              const QString& edit, const QString& expected) {
            QTest::newRow(name) << locale << command << int(Value) << edit << "" << expected;
        };
        value("XB too big", "de_DE", "XB3", "12", "XB0 0");
        value("XB rounded down", "de_DE", "XB3", "7.9", "XB7 7");
        value("XB negative", "de_DE", "XB3", "-1", "XB0 0");
        value("XW padded", "de_DE", "XW250", "5", "XW005 5");
        value("XW top", "de_DE", "XW250", "999", "XW999 999");
        value("XW too big", "de_DE", "XW250", "1000", "XW000 0");
        value("XW beyond 32 bits", "de_DE", "XW250", "4294967301", "XW000 0");
        value("XW exponent", "de_DE", "XW250", "1.5E2", "XW150 150");
        value("XS cut", "de_DE", "XSA", "ABCDEFGHIJ", "XSABCDEFGH ABCDEFGH");
        value("X0A cut", "de_DE", "X0AC", "FC", "X0AF F");
        value("not a number", "de_DE", "XRA0.2", "abc", "XRA0 0");
        value("decimal comma sent as point", "de_DE", "XRA0.2", " -1,25E2 ", "XRA-1.25E2 -1,25E2");
        value("decimal point kept", "C", "XRA0.2", "0.20", "XRA0.20 0.20");
        value("minus sign not ASCII", "sv_SE", "XRA0.2", "\u22121,5", "XRA-1.5 \u22121,5");
        // A decimal comma is sent as a point whatever the locale ("": the
        // process's own, which the second run sets to de_DE).
        for (const char* locale : {"C", "en_US", "de_DE", ""})
            QTest::addRow("decimal comma under %s", *locale ? locale : "the process's locale")
                << locale << "XRA0.2" << int(Value) << "1,5"
                << ""
                << "XRA1.5 1,5";
        value("German group separator", "de_DE", "XRA0.2", "1.000", "XRA1.000 1.000");
        value("English group separator", "en_US", "XRA0.2", "1,500", "XRA1.500 1,500");
        value("two commas", "C", "XRA0.2", "1,2,3", "XRA0 0");
        value("nan", "C", "XRA0.2", "nan", "XRA0 0");
        value("inf", "de_DE", "XRA0.2", "inf", "XRA0 0");
        value("minus inf", "C", "XRA0.2", "-inf", "XRA0 0");
        value("infinity", "de_DE", "XRA0.2", "infinity", "XRA0 0");
        value("XS pair within 8", "C", "XSA", "ABCDEFG" + Face + "x",
              "XSABCDEFG" + Face + " ABCDEFG" + Face);
        value("X0A pair", "C", "X0AC", Face + "x", "X0A" + Face + " " + Face);
        const auto option = [](const char* name, const QString& command, int column,
                               const char* edit, const QString& code, const QString& expected) {
            QTest::newRow(name) << "C" << command << column << edit << code << expected;
        };
        option("Mode", "XOPM21001", Mode, "Off", "0", "XOPM01001 Off");
        option("Gain, one character", "XOPM21001", Gain, "x7", "7", "XOPM21071 x7");
        option("Gain at the end", "XOPM2100", Gain, "x10", "10", "XOPM2101 x10");
        option("too short", "XOPM", Type, "Raw", "0", "XOPM Raw");
        option("code cut before a pair's half", "XOPM21001", Gain, "x", "7" + Face, "XOPM21071 x");
        option("pair in too little room", "XOPM2100", Gain, "x", Face, "XOPM2100 x");
        option("command's pair not split", "XOPM" + Face + "01", Mode, "x", "0",
               "XOPM" + Face + "01 x");
    }
    void edit() {
        QFETCH(QString, locale);
        QFETCH(QString, command);
        QFETCH(int, column);
        QFETCH(QString, edit);
        QFETCH(QString, code);
        const EditResult result =
            EncodeEdit(command, column, edit, code, locale.isEmpty() ? QLocale() : QLocale(locale));
        QTEST(result.Command + ' ' + result.CellText, "expected");
    }
};

QTEST_GUILESS_MAIN(TestEncoding)
#include "tst_encoding.moc"
