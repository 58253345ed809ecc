#include "measure/AxisTicks.h"

#include <QtTest>

#include <cmath>

namespace {

// 2024-03-09 12:00:00 UTC.
constexpr qint64 Noon = 1709985600000;
constexpr qint64 Second = 1000;
constexpr qint64 Hour = 3600 * Second;

QStringList Labels(const AxisScale& scale) {
    QStringList labels;
    for (const AxisTick& tick : scale.Ticks)
        labels << tick.Label;
    return labels;
}

bool IsNiceStep(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
           std::abs(mantissa - 5) < 1e-9 || std::abs(mantissa - 10) < 1e-9;
}

} // namespace

class TestAxisTicks : public QObject {
    Q_OBJECT
private slots:
    // Whatever the data, the axis holds all of it with room to spare, and
    // four to eight ticks at a 1-2-5 step whose labels read back as the
    // tick's value with a "." whatever the locale.
    void valueAxisHoldsTheData_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("temperature") << 20.5 << 21.7;
        QTest::newRow("pressure") << 1012.8 << 1013.4;
        QTest::newRow("lone value") << 12.6 << 12.6;
        QTest::newRow("lone zero") << 0.0 << 0.0;
        QTest::newRow("lone negative") << -3.5 << -3.5;
        QTest::newRow("negative") << -40.0 << -10.0;
        QTest::newRow("across zero") << -0.003 << 0.002;
        QTest::newRow("reversed") << 50.0 << -50.0;
        QTest::newRow("tiny") << 1e-12 << 3e-12;
        QTest::newRow("huge") << -1e300 << 1e300;
        QTest::newRow("narrower than a double resolves") << 1e15 << 1e15 + 0.125;
    }
    void valueAxisHoldsTheData() {
        QFETCH(double, low);
        QFETCH(double, high);
        QLocale::setDefault(QLocale(QLocale::German));
        const AxisScale scale = AxisTicks::ValueAxis(low, high);
        QLocale::setDefault(QLocale::c());
        QVERIFY(scale.Min < std::min(low, high));
        QVERIFY(scale.Max > std::max(low, high));
        QVERIFY2(scale.Ticks.size() >= 4 && scale.Ticks.size() <= 8,
                 qPrintable(Labels(scale).join(' ')));
        QVERIFY(IsNiceStep(scale.Step));
        double previous = -INFINITY;
        for (const AxisTick& tick : scale.Ticks) {
            QVERIFY(tick.Position >= scale.Min && tick.Position <= scale.Max);
            QVERIFY(tick.Position > previous);
            previous = tick.Position;
            bool read = false;
            const double labelled = QLocale::c().toDouble(tick.Label, &read);
            QVERIFY2(read, qPrintable(tick.Label));
            QVERIFY2(std::abs(labelled - tick.Position) <= scale.Step * 1e-3,
                     qPrintable(tick.Label));
        }
    }

    void valueLabels_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<int>("maxTicks");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("whole numbers")
            << 0.0 << 100.0 << 8 << QStringList{"0", "20", "40", "60", "80", "100"};
        QTest::newRow("one decimal")
            << 20.5 << 21.7 << 8 << QStringList{"20.6", "20.8", "21.0", "21.2", "21.4", "21.6"};
        QTest::newRow("lone value")
            << 21.0 << 21.0 << 8 << QStringList{"20.8", "20.9", "21.0", "21.1", "21.2"};
        QTest::newRow("lone zero")
            << 0.0 << 0.0 << 8 << QStringList{"-1.0", "-0.5", "0.0", "0.5", "1.0"};
        QTest::newRow("large") << 0.0 << 2e9 << 8
                               << QStringList{"0.0e+00", "5.0e+08", "1.0e+09", "1.5e+09",
                                              "2.0e+09"};
        QTest::newRow("small") << 1e-7 << 3e-7 << 8
                               << QStringList{"1.0e-07", "1.5e-07", "2.0e-07", "2.5e-07",
                                              "3.0e-07"};
        // Step 2 would give nine ticks, step 5 only three: the range grows.
        QTest::newRow("three ticks grown to five")
            << 6.7 << 21.3 << 8 << QStringList{"5", "10", "15", "20", "25"};
        QTest::newRow("not grown past the most ticks")
            << 6.7 << 21.3 << 4 << QStringList{"10", "15", "20"};
    }
    void valueLabels() {
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(int, maxTicks);
        QTEST(Labels(AxisTicks::ValueAxis(low, high, maxTicks)), "labels");
    }

    // Ticks sit on whole units of the local clock, also in a zone half an
    // hour off UTC.
    void timeLabels_data() {
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("last");
        QTest::addColumn<int>("utcOffset"); // seconds
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("three measurements 5 s apart")
            << Noon << Noon + 10 * Second << 0
            << QStringList{"12:00:00", "12:00:02", "12:00:04", "12:00:06", "12:00:08", "12:00:10"};
        QTest::newRow("lone time")
            << Noon << Noon << 0
            << QStringList{"11:59:56", "11:59:58", "12:00:00", "12:00:02", "12:00:04"};
        QTest::newRow("one minute") << Noon << Noon + 60 * Second << 0
                                    << QStringList{"12:00:00", "12:00:10", "12:00:20", "12:00:30",
                                                   "12:00:40", "12:00:50", "12:01:00"};
        QTest::newRow("10,000 measurements 5 s apart")
            << Noon << Noon + 49995 * Second << 0
            << QStringList{"12:00", "14:00", "16:00", "18:00", "20:00", "22:00", "00:00", "02:00"};
        QTest::newRow("hours in a half-hour zone")
            << Noon << Noon + 12 * Hour << 19800
            << QStringList{"18:00", "20:00", "22:00", "00:00", "02:00", "04:00"};
        QTest::newRow("days at local midnight")
            << Noon << Noon + 120 * Hour << 19800
            << QStringList{"2024-03-10", "2024-03-11", "2024-03-12", "2024-03-13", "2024-03-14"};
    }
    void timeLabels() {
        QFETCH(qint64, first);
        QFETCH(qint64, last);
        QFETCH(int, utcOffset);
        const AxisScale scale =
            AxisTicks::TimeAxis(first, last, AxisTicks::DefaultMaxTicks, QTimeZone(utcOffset));
        QVERIFY(scale.Min < double(first) && scale.Max > double(last));
        QTEST(Labels(scale), "labels");
        const double day = 24.0 * Hour;
        for (const AxisTick& tick : scale.Ticks) {
            const QTime clock =
                QDateTime::fromMSecsSinceEpoch(qint64(tick.Position), QTimeZone(utcOffset)).time();
            QCOMPARE(clock.msecsSinceStartOfDay() % qint64(std::min(scale.Step, day)), 0);
        }
    }
};

QTEST_APPLESS_MAIN(TestAxisTicks)
#include "tst_axisticks.moc"
