#include "measure/AxisTicks.h"

#include <QtTest>

namespace {

// 2024-03-09 12:00:00 UTC.
constexpr qint64 Noon = 1709985600000;
constexpr qint64 Minute = 60 * 1000;
constexpr qint64 Hour = 60 * Minute;
constexpr int HalfHourZone = 19800; // UTC+05:30, in seconds

QStringList Labels(const AxisScale& scale) {
    QStringList labels;
    for (const AxisTick& tick : scale.Ticks)
        labels << tick.Label;
    return labels;
}

} // namespace

class TestAxisTicks : public QObject {
    Q_OBJECT
private slots:
    // Labels keep their "." under a locale that writes a decimal comma.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German)); }

    // The axis holds the data with room on each side, at a 1-2-5 step.
    void valueTicks_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("normal") << 20.5 << 21.7
                                << QStringList{"20.6", "20.8", "21.0", "21.2", "21.4", "21.6"};
        QTest::newRow("lone value")
            << 21.0 << 21.0 << QStringList{"20.8", "20.9", "21.0", "21.1", "21.2"};
        QTest::newRow("lone zero")
            << 0.0 << 0.0 << QStringList{"-1.0", "-0.5", "0.0", "0.5", "1.0"};
        QTest::newRow("negative, high first")
            << -10.0 << -40.0 << QStringList{"-40", "-35", "-30", "-25", "-20", "-15", "-10"};
        QTest::newRow("tiny") << 1e-7 << 3e-7
                              << QStringList{"1.0e-07", "1.5e-07", "2.0e-07", "2.5e-07", "3.0e-07"};
        QTest::newRow("huge") << -1e300 << 1e300
                              << QStringList{"-1.0e+300", "-5.0e+299", "0.0e+00", "5.0e+299",
                                             "1.0e+300"};
        QTest::newRow("narrower than a double resolves")
            << 1e15 << 1e15 + 0.125
            << QStringList{"9.9999999900e+14", "9.9999999950e+14", "1.0000000000e+15",
                           "1.0000000005e+15", "1.0000000010e+15"};
        // Step 2 would give nine ticks, step 5 only three: the range grows.
        QTest::newRow("three ticks grown to five")
            << 6.7 << 21.3 << QStringList{"5", "10", "15", "20", "25"};
    }
    void valueTicks() {
        QFETCH(double, low);
        QFETCH(double, high);
        const AxisScale scale = AxisTicks::ValueAxis(low, high);
        QVERIFY(scale.Min < std::min(low, high) && scale.Max > std::max(low, high));
        QTEST(Labels(scale), "labels");
    }

    // Ticks sit on whole units of the local clock, also in a zone half an
    // hour off the UTC hours.
    void timeTicks_data() {
        QTest::addColumn<qint64>("span");
        QTest::addColumn<int>("utcOffset");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("seconds about a lone time")
            << qint64(0) << 0
            << QStringList{"11:59:56", "11:59:58", "12:00:00", "12:00:02", "12:00:04"};
        QTest::newRow("minutes") << 30 * Minute << 0
                                 << QStringList{"12:00", "12:05", "12:10", "12:15",
                                                "12:20", "12:25", "12:30"};
        QTest::newRow("hours") << 12 * Hour << HalfHourZone
                               << QStringList{"18:00", "20:00", "22:00", "00:00", "02:00", "04:00"};
        QTest::newRow("days at local midnight")
            << 120 * Hour << HalfHourZone
            << QStringList{"2024-03-10", "2024-03-11", "2024-03-12", "2024-03-13", "2024-03-14"};
    }
    void timeTicks() {
        QFETCH(qint64, span);
        QFETCH(int, utcOffset);
        const AxisScale scale = AxisTicks::TimeAxis(Noon, Noon + span, AxisTicks::DefaultMaxTicks,
                                                    QTimeZone(utcOffset));
        QVERIFY(scale.Min < double(Noon) && scale.Max > double(Noon + span));
        QTEST(Labels(scale), "labels");
    }
};

QTEST_APPLESS_MAIN(TestAxisTicks)
#include "tst_axisticks.moc"
