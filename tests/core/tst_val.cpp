#include "platform/Val.h"

#include <QtTest>

class TestVal : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void wholeNumbers();
    void isNumericFollowsTheLocale();
    void numberText();
};

void TestVal::leadingNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("trailing letters") << "12abc" << 12.0;
    QTest::newRow("blanks, tabs, line feeds skipped") << "\t1 \n2" << 12.0;
    QTest::newRow("carriage return stops") << "1\r2" << 1.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("lone minus") << "-" << 0.0;
    QTest::newRow("blank after sign") << "- 3" << -3.0;
    QTest::newRow("trailing point") << "2." << 2.0;
    QTest::newRow("leading point") << ".5" << 0.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("comma is not a point") << "1,5" << 1.0;
    QTest::newRow("exponent E") << "1.5E3" << 1500.0;
    QTest::newRow("exponent D") << "2d-1" << 0.2;
    QTest::newRow("exponent without digits") << "7E" << 7.0;
    QTest::newRow("hex") << "&hFF" << 255.0;
    QTest::newRow("hex stops at non-digit") << "&H1G" << 1.0;
    QTest::newRow("octal stops at 8") << "&O178" << 15.0;
    QTest::newRow("overflowing exponent") << "1E999" << 0.0;
}

void TestVal::leadingNumber() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(Val::LeadingNumber(text), expected);
}

void TestVal::wholeNumbers() {
    QCOMPARE(Val::RoundToInt32(2.5), 2); // halves go to the even neighbour
    QCOMPARE(Val::RoundToInt32(3.5), 4);
    QCOMPARE(Val::RoundToInt32(1e12), 2147483647);
    bool inRange = false;
    QCOMPARE(Val::FloorToInt32(-0.5, &inRange), -1);
    QVERIFY(inRange);
    QCOMPARE(Val::FloorToInt32(2147483648.0, &inRange), 0);
    QVERIFY(!inRange);
}

void TestVal::isNumericFollowsTheLocale() {
    QVERIFY(Val::IsNumeric(QStringLiteral(" 1,5 "), QLocale(QStringLiteral("de_DE"))));
    QVERIFY(!Val::IsNumeric(QStringLiteral("1,5"), QLocale::c()));
    QVERIFY(!Val::IsNumeric(QString(), QLocale::c()));
    QVERIFY(!Val::IsNumeric(QStringLiteral("12abc"), QLocale::c()));
}

void TestVal::numberText() {
    QCOMPARE(Val::NumberText(7), QStringLiteral("7"));
    QCOMPARE(Val::NumberText(-0.5), QStringLiteral("-0.5"));
    QCOMPARE(Val::NumberText(-0.0), QStringLiteral("0"));
}

QTEST_APPLESS_MAIN(TestVal)
#include "tst_val.moc"
