#include "sheet/CommandsFile.h"
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
        value("XW exponent", "de_DE", "XW250", "1.5E2", "XW150 150");
        value("decimal comma sent as point", "de_DE", "XRA0.2", " -1,25E2 ", "XRA-1.25E2 -1,25E2");
        value("decimal point kept", "C", "XRA0.2", "0.20", "XRA0.20 0.20");
        value("minus sign not ASCII", "sv_SE", "XRA0.2", "\u22121,5", "XRA-1.5 \u22121,5");
        value("German group separator", "de_DE", "XRA0.2", "1.000", "XRA0 0");
        value("English group separator", "en_US", "XRA0.2", "1,500", "XRA0 0");
        value("nan", "C", "XRA0.2", "nan", "XRA0 0");
        value("inf", "de_DE", "XRA0.2", "inf", "XRA0 0");
        value("minus inf", "C", "XRA0.2", "-inf", "XRA0 0");
        value("infinity", "de_DE", "XRA0.2", "infinity", "XRA0 0");
        value("XS pair within 8", "C", "XSA", "ABCDEFG" + Face + "x",
              "XSABCDEFG" + Face + " ABCDEFG" + Face);
        value("X0A pair", "C", "X0AC", Face + "x", "X0A" + Face + " " + Face);
        const auto option = [](const char* name, const QString& command, int column,
                               const QString& code, const QString& expected) {
            QTest::newRow(name) << "C" << command << column << "x" << code << expected;
        };
        option("code cut before a pair's half", "XOPM21001", Gain, "7" + Face, "XOPM21071 x");
        option("pair in too little room", "XOPM2100", Gain, Face, "XOPM2100 x");
        option("command's pair not split", "XOPM" + Face + "01", Mode, "0", "XOPM" + Face + "01 x");
    }
    void edit() {
        QFETCH(QString, locale);
        QFETCH(QString, command);
        QFETCH(int, column);
        QFETCH(QString, edit);
        QFETCH(QString, code);
        const EditResult result = EncodeEdit(command, column, edit, code, QLocale(locale));
        QTEST(result.Command + ' ' + result.CellText, "expected");
    }

    // An option's code is read from just before its text in the list; a
    // code of one unit must not take half of a pair.
    void optionCodeFromFileKeepsPairsWhole() {
        QTemporaryDir folder;
        QFile file(folder.filePath("pair.SDI12"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[XOPM]\nN=Output\nM=Off\nML=|#" + Face.toUtf8() + ";Off|#1;On\n");
        file.close();
        const CommandsLoad load = LoadCommandsRows(file.fileName());
        QCOMPARE(load.Rows.size(), 1);
        QCOMPARE(load.Rows.at(0).Command, QStringLiteral("XOPM"));
    }
};

QTEST_GUILESS_MAIN(TestEncoding)
#include "tst_encoding.moc"
