#include "measure/ThinnedLine.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 EveryFiveSeconds = 5000;

// What the plot draws of each pixel column: its lowest and highest value.
struct Column {
    double Lowest, Highest;
};

std::vector<Column> columns(const std::vector<qint64>& times, const std::vector<double>& values,
                            qint64 columnMs) {
    std::vector<Column> drawn;
    qint64 current = -1;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (times[i] / columnMs != current) {
            drawn.push_back({values[i], values[i]});
            current = times[i] / columnMs;
        }
        drawn.back().Lowest = std::min(drawn.back().Lowest, values[i]);
        drawn.back().Highest = std::max(drawn.back().Highest, values[i]);
    }
    return drawn;
}

} // namespace

// A plot line in bounded memory that keeps its picture.
class TestThinnedLine : public QObject {
    Q_OBJECT
private slots:
    void shortLineKeepsEveryPoint() {
        ThinnedLine line;
        for (int i = 0; i < 100; ++i) {
            if (i == 40)
                line.breakHere();
            line.append(i * EveryFiveSeconds, i % 7);
        }
        QCOMPARE(line.size(), std::size_t(100));
        QCOMPARE(line.breaks(), std::vector<std::size_t>{40});
        QCOMPARE(line.stretchMs(), qint64(0));
    }

    // Two weeks of a noisy value every 5 s, with a failed measurement now
    // and then: within the budget, points spread evenly over the time, each
    // pixel column shows no value it did not hold, the extremes and both
    // ends stay, and so do the breaks.
    void twoWeeksKeepTheirPicture() {
        QRandomGenerator random(7);
        ThinnedLine line;
        std::vector<qint64> times;
        std::vector<double> values;
        int breaks = 0;
        for (int i = 0; i < 240000; ++i) {
            if (i % 20000 == 10000) {
                line.breakHere();
                ++breaks;
            }
            times.push_back(i * EveryFiveSeconds);
            values.push_back(20 + std::sin(i / 5000.0) + random.bounded(1.0));
            line.append(times.back(), values.back());
        }
        QVERIFY(line.size() <= ThinnedLine::PointBudget);
        QVERIFY(line.size() > ThinnedLine::PointBudget / 8);
        QCOMPARE(int(line.breaks().size()), breaks);
        QVERIFY(std::is_sorted(line.timesMs().begin(), line.timesMs().end()));

        const qint64 half = times.back() / 2;
        const auto firstHalf = std::count_if(line.timesMs().begin(), line.timesMs().end(),
                                             [half](qint64 time) { return time < half; });
        const double share = double(firstHalf) / double(line.size());
        QVERIFY2(share > 0.4 && share < 0.6, qPrintable(QString::number(share)));

        const qint64 span = times.back() + 1;
        for (const int width : {400, 1000, 2500}) {
            const std::vector<Column> before = columns(times, values, span / width);
            const std::vector<Column> after = columns(line.timesMs(), line.values(), span / width);
            QCOMPARE(after.size(), before.size());
            for (std::size_t column = 0; column < before.size(); ++column) {
                QVERIFY(after[column].Lowest >= before[column].Lowest);
                QVERIFY(after[column].Highest <= before[column].Highest);
            }
        }
        QCOMPARE(*std::min_element(line.values().begin(), line.values().end()),
                 *std::min_element(values.begin(), values.end()));
        QCOMPARE(*std::max_element(line.values().begin(), line.values().end()),
                 *std::max_element(values.begin(), values.end()));
        QCOMPARE(line.values().front(), values.front());
        QCOMPARE(line.values().back(), values.back());
    }
};

QTEST_APPLESS_MAIN(TestThinnedLine)
#include "tst_thinnedline.moc"
