#include "commands/BoxValidation.h"

#include <QtTest>

#include <optional>

// How a timing box's text is kept numeric, without a window. The number it
// reads is Val::LeadingNumber's (tst_val); these cases are the box's own.
class TestBoxValidation : public QObject {
    Q_OBJECT
private slots:
    void normalize_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<double>>("limit");
        QTest::addColumn<QString>("expected");
        const std::optional<double> count = BoxValidation::RepeatCountLimit;
        const std::optional<double> delay = BoxValidation::RepeatDelayLimit;
        const std::optional<double> none;
        QTest::newRow("empty stays empty") << "" << count << "";
        QTest::newRow("above the count limit") << "150" << count << "99";
        QTest::newRow("above the delay limit") << "70000" << delay << "65535";
        QTest::newRow("at the limit") << "99" << count << "99";
        QTest::newRow("fraction above the limit") << "99.5" << count << "99";
        QTest::newRow("fraction below the limit") << "98.5" << count << "98.5";
        QTest::newRow("no limit") << "500000" << none << "500000";
        QTest::newRow("negative") << "-3" << none << "0";
        QTest::newRow("negative fraction") << "-0.5" << count << "0";
        QTest::newRow("minus zero") << "-0" << count << "0";
        QTest::newRow("trailing point") << "2." << count << "2";
        QTest::newRow("fraction") << "2.5" << count << "2.5";
        QTest::newRow("leading zeros and trailing zero") << "007.50" << count << "7.5";
    }
    void normalize() {
        QFETCH(QString, text);
        QFETCH(std::optional<double>, limit);
        QFETCH(QString, expected);
        QCOMPARE(BoxValidation::Normalize(text, limit), expected);
    }
};

QTEST_APPLESS_MAIN(TestBoxValidation)
#include "tst_boxvalidation.moc"
