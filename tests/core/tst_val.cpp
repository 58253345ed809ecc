#include "platform/Val.h"

#include <QtTest>

class TestVal : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data() {
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
        QTest::newRow("overflowing hex") << "&H" + QString(300, 'F') << 0.0;
        QTest::newRow("overflowing octal") << "&O" + QString(400, '7') << 0.0;
        QTest::newRow("plus sign") << "+0.25" << 0.25;
    }
    void leadingNumber() {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(Val::LeadingNumber(text), expected);
    }

    void wholeNumbers() {
        QCOMPARE(Val::RoundToInt32(2.5), 2); // halves go to the even neighbour
        QCOMPARE(Val::RoundToInt32(3.5), 4);
        QCOMPARE(Val::RoundToInt32(1e12), 2147483647);
        bool inRange = false;
        QCOMPARE(Val::FloorToInt32(-0.5, &inRange), -1);
        QVERIFY(inRange);
        QCOMPARE(Val::FloorToInt32(2147483648.0, &inRange), 0);
        QVERIFY(!inRange);
    }

    void isNumeric_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        const auto row = [](const char* name, const char* locale, const char* text, bool numeric) {
            QTest::newRow(name) << locale << text << numeric;
        };
        row("decimal comma", "de_DE", " 1,5 ", true);
        row("comma under C", "C", "1,5", false);
        row("empty", "C", "", false);
        row("trailing letters", "C", "12abc", false);
        for (const char* notANumber : {"nan", "NaN", "inf", "-inf", "infinity", "1e999"}) {
            QTest::addRow("%s under C", notANumber) << "C" << notANumber << false;
            QTest::addRow("%s under de_DE", notANumber) << "de_DE" << notANumber << false;
        }
    }
    void isNumeric() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QTEST(Val::IsNumeric(text, QLocale(locale)), "numeric");
    }

    void numberText() {
        QCOMPARE(Val::NumberText(7), QStringLiteral("7"));
        QCOMPARE(Val::NumberText(-0.5), QStringLiteral("-0.5"));
        QCOMPARE(Val::NumberText(-0.0), QStringLiteral("0"));
    }
};

// With an application object the process takes its locale from the
// environment, as the program does, so the comma-decimal run means something.
QTEST_GUILESS_MAIN(TestVal)
#include "tst_val.moc"
