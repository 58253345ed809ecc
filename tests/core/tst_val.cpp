#include "platform/Val.h"

#include <QtTest>

class TestVal : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void roundToInt32_data();
    void roundToInt32();
    void floorToInt32_data();
    void floorToInt32();
    void isNumeric_data();
    void isNumeric();
    void numberText_data();
    void numberText();
};

void TestVal::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "12" << 12.0;
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("blank inside") << "1 2" << 12.0;
    QTest::newRow("tab and line feed inside") << "\t1\n2" << 12.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("blank after sign") << "- 3" << -3.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("trailing point") << "2." << 2.0;
    QTest::newRow("fraction") << "2.5" << 2.5;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("comma is not a point") << "1,5" << 1.0;
    QTest::newRow("exponent E") << "1.5E3" << 1500.0;
    QTest::newRow("exponent D") << "2D2" << 200.0;
    QTest::newRow("exponent lower case") << "2e-1" << 0.2;
    QTest::newRow("exponent without digits") << "7E" << 7.0;
    QTest::newRow("exponent sign without digits") << "7E+" << 7.0;
    QTest::newRow("hex") << "&HFF" << 255.0;
    QTest::newRow("hex lower case") << "&hff" << 255.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O18" << 1.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("overflowing exponent") << "1E999" << 0.0;
}

void TestVal::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(Val::LeadingNumber(text), expected);
}

void TestVal::roundToInt32_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("half to even down") << 2.5 << 2;
    QTest::newRow("half to even up") << 3.5 << 4;
    QTest::newRow("negative half") << -0.5 << 0;
    QTest::newRow("just above half") << 2.51 << 3;
    QTest::newRow("saturates high") << 1e12 << 2147483647;
    QTest::newRow("saturates low") << -1e12 << int(-2147483648LL);
}

void TestVal::roundToInt32() {
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(Val::RoundToInt32(value), expected);
}

void TestVal::floorToInt32_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("inRange");
    QTest::newRow("down") << 7.9 << 7 << true;
    QTest::newRow("toward minus infinity") << -0.5 << -1 << true;
    QTest::newRow("largest") << 2147483647.9 << 2147483647 << true;
    QTest::newRow("too large") << 2147483648.0 << 0 << false;
    QTest::newRow("too small") << -2147483649.0 << 0 << false;
}

void TestVal::floorToInt32() {
    QFETCH(double, value);
    QFETCH(int, expected);
    QFETCH(bool, inRange);
    bool fits = !inRange;
    QCOMPARE(Val::FloorToInt32(value, &fits), expected);
    QCOMPARE(fits, inRange);
}

void TestVal::isNumeric_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("expected");
    QTest::newRow("point in C") << "1.5"
                                << "C" << true;
    QTest::newRow("comma in German") << "1,5"
                                     << "de_DE" << true;
    QTest::newRow("blanks around") << " 12 "
                                   << "C" << true;
    QTest::newRow("exponent") << "1e3"
                              << "C" << true;
    QTest::newRow("empty") << ""
                           << "C" << false;
    QTest::newRow("letters") << "12abc"
                             << "C" << false;
}

void TestVal::isNumeric() {
    QFETCH(QString, text);
    QFETCH(QString, locale);
    QFETCH(bool, expected);
    QCOMPARE(Val::IsNumeric(text, QLocale(locale)), expected);
}

void TestVal::numberText_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 7.0 << "7";
    QTest::newRow("fraction") << 2.5 << "2.5";
    QTest::newRow("negative fraction") << -0.5 << "-0.5";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("large whole") << 65535.0 << "65535";
}

void TestVal::numberText() {
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(Val::NumberText(value), expected);
}

QTEST_APPLESS_MAIN(TestVal)
#include "tst_val.moc"
