#include "measure/ui/MeasurePlot.h"

#include <QtTest>

namespace {

const QDateTime Start(QDate(2024, 3, 9), QTime(12, 0));

// Sizes the plot and adds `count` measurements 5 s apart of a temperature
// (from 21.0 up by 0.1), a pressure (from 1013 down by 0.1) and a supply
// voltage (from 12.6 down by 0.01).
void AddWeather(MeasurePlot& plot, int count = 10) {
    plot.resize(plot.sizeHint());
    for (int i = 0; i < count; ++i)
        plot.AddMeasurement(Start.addSecs(5 * i), {21 + 0.1 * i, 1013 - 0.1 * i, 12.6 - 0.01 * i});
}

// Pixels of exactly `colour` in the rendered plot, within rows [top, bottom).
int PixelsOf(MeasurePlot& plot, const QColor& colour, int top = 0, int bottom = INT_MAX) {
    QImage image(plot.size(), QImage::Format_RGB32);
    plot.render(&image);
    int count = 0;
    for (int y = top; y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour.rgb() ? 1 : 0;
    return count;
}

} // namespace

class TestMeasurePlot : public QObject {
    Q_OBJECT
private slots:
    // Each value's line shows in its own colour, from a lone point to more
    // points than the plot has pixel columns, and Clear leaves none of them.
    // Values that cannot be placed are left out, not their measurement.
    void linesShowUntilCleared_data() {
        QTest::addColumn<int>("measurements");
        QTest::newRow("one") << 1;
        QTest::newRow("more than pixel columns") << 5000;
    }
    void linesShowUntilCleared() {
        QFETCH(int, measurements);
        MeasurePlot plot;
        AddWeather(plot, measurements);
        plot.AddMeasurement(QDateTime(), {1, 2, 3});
        plot.AddMeasurement(Start.addSecs(5 * measurements), {NAN, INFINITY, 4});
        QCOMPARE(plot.PointCount(1), measurements);
        QCOMPARE(plot.PointCount(2), measurements + 1);
        for (int series = 0; series < 3; ++series)
            QVERIFY2(PixelsOf(plot, plot.SeriesColour(series)) > 0,
                     qPrintable(QString::number(series)));
        plot.Clear();
        QCOMPARE(plot.SeriesCount(), 0);
        for (int series = 0; series < 3; ++series)
            QCOMPARE(PixelsOf(plot, plot.SeriesColour(series)), 0);
    }

    // Thinning a long line per pixel column keeps its extremes: one spike
    // among 5000 points still shows, wherever it falls in its column.
    void longLineKeepsItsSpike() {
        for (int spike = 2500; spike < 2503; ++spike) {
            MeasurePlot plot;
            plot.resize(plot.sizeHint());
            for (int i = 0; i < 5000; ++i)
                plot.AddMeasurement(Start.addSecs(5 * i), {i == spike ? 20.0 : 10.0, 0.0});
            // Between the legend and the line at 10: only the spike is there.
            QVERIFY2(PixelsOf(plot, plot.SeriesColour(0), 40, 80) > 0,
                     qPrintable(QString::number(spike)));
        }
    }

    // Hiding a line rescales the value axis to the lines still shown, and
    // leaves no pixel of its colour.
    void hiddenLinesLeaveTheAxis_data() {
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");
        QTest::newRow("pressure hidden") << QList<int>{1} << 12.51 << 21.9;
        QTest::newRow("pressure alone") << QList<int>{0, 2} << 1012.1 << 1013.0;
    }
    void hiddenLinesLeaveTheAxis() {
        QFETCH(QList<int>, hidden);
        QFETCH(double, lowest);
        QFETCH(double, highest);
        MeasurePlot plot;
        AddWeather(plot);
        for (const int series : hidden)
            plot.SetSeriesVisible(series, false);
        const AxisScale axis = plot.ValueAxis();
        QVERIFY(axis.Min <= lowest && axis.Max >= highest);
        QVERIFY(axis.Max - axis.Min < 1.5 * (highest - lowest));
        for (int series = 0; series < 3; ++series)
            QCOMPARE(PixelsOf(plot, plot.SeriesColour(series)) > 0, !hidden.contains(series));
    }

    // A click on a legend entry hides its line and a second shows it again,
    // also after every line was hidden; a click off the legend does nothing.
    void legendClickToggles() {
        MeasurePlot plot;
        AddWeather(plot);
        const QPoint pressure = plot.LegendEntryRect(1).center();
        QTest::mouseClick(&plot, Qt::LeftButton, {}, pressure);
        QVERIFY(!plot.IsSeriesVisible(1) && plot.IsSeriesVisible(0));
        plot.SetSeriesVisible(0, false);
        plot.SetSeriesVisible(2, false);
        QVERIFY(plot.ValueAxis().Ticks.isEmpty());
        QTest::mouseClick(&plot, Qt::LeftButton, {}, pressure);
        QVERIFY(plot.IsSeriesVisible(1));
        QTest::mouseClick(&plot, Qt::LeftButton, {}, plot.rect().center());
        QVERIFY(plot.IsSeriesVisible(1) && !plot.IsSeriesVisible(0));
    }
};

QTEST_MAIN(TestMeasurePlot)
#include "tst_measureplot.moc"
