#include "commands/BoxValidation.h"

#include <QtTest>

class TestBoxValidation : public QObject {
    Q_OBJECT
private slots:
    void normalize_data();
    void normalize();
};

void TestBoxValidation::normalize_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("limit"); // 0 = no upper limit
    QTest::addColumn<QString>("expected");
    QTest::newRow("repeat count too large") << "150" << 99.0 << "99";
    QTest::newRow("repeat delay too large") << "70000" << 65535.0 << "65535";
    QTest::newRow("negative") << "-3" << 0.0 << "0";
    QTest::newRow("trailing letters") << "12abc" << 99.0 << "12";
    QTest::newRow("blank inside") << "1 2" << 99.0 << "12";
    QTest::newRow("no number") << "abc" << 99.0 << "0";
    QTest::newRow("lone minus") << "-" << 99.0 << "0";
    QTest::newRow("trailing point") << "2." << 99.0 << "2";
    QTest::newRow("fraction stays") << "2.5" << 99.0 << "2.5";
    QTest::newRow("wake-up has no limit") << "500" << 0.0 << "500";
    QTest::newRow("empty stays empty") << "" << 99.0 << "";
    QTest::newRow("already normal") << "7" << 99.0 << "7";
}

void TestBoxValidation::normalize() {
    QFETCH(QString, text);
    QFETCH(double, limit);
    QFETCH(QString, expected);
    const std::optional<double> upper = limit > 0 ? std::optional<double>(limit) : std::nullopt;
    const QString normalized = BoxValidation::Normalize(text, upper);
    QCOMPARE(normalized, expected);
    // A second pass must leave the text alone, or the box would rewrite itself for ever.
    QCOMPARE(BoxValidation::Normalize(normalized, upper), normalized);
}

QTEST_APPLESS_MAIN(TestBoxValidation)
#include "tst_boxvalidation.moc"
