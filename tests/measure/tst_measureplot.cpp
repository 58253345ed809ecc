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

// Pixels drawn in `colour` or in a lighter shade of it (the edges of a
// smoothed line), counted by hue: the axes and grid are grey.
int InkOf(MeasurePlot& plot, const QColor& colour) {
    QImage image(plot.size(), QImage::Format_RGB32);
    plot.render(&image);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const int hueApart = std::abs(pixel.hsvHue() - colour.hsvHue());
            count += pixel.hsvSaturation() > 40 && std::min(hueApart, 360 - hueApart) < 12;
        }
    }
    return count;
}

// The rows below the legend that hold a pixel of exactly `colour`, as the
// first and last of them.
QPair<int, int> RowsOf(MeasurePlot& plot, const QColor& colour) {
    QImage image(plot.size(), QImage::Format_RGB32);
    plot.render(&image);
    const int belowLegend = plot.LegendEntryRect(plot.SeriesCount() - 1).bottom() + 1;
    QPair<int, int> rows(INT_MAX, -1);
    for (int y = belowLegend; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour.rgb()) {
                rows.first = std::min(rows.first, y);
                rows.second = y;
            }
        }
    }
    return rows;
}

// Plays measurements of one value, 10 each, at the seconds written in
// `events`; "|" is a failed measurement.
void Play(MeasurePlot& plot, const QString& events) {
    plot.resize(plot.sizeHint());
    for (const QString& event : events.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (event == QLatin1String("|"))
            plot.BreakLines();
        else
            plot.AddMeasurement(Start.addSecs(event.toInt()), {10.0});
    }
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
            plot.SetOneAxisPerValue(false);
            plot.resize(plot.sizeHint());
            for (int i = 0; i < 5000; ++i)
                plot.AddMeasurement(Start.addSecs(5 * i), {i == spike ? 20.0 : 10.0, 0.0});
            // Between the legend and the line at 10: only the spike is there.
            QVERIFY2(PixelsOf(plot, plot.SeriesColour(0), 40, 80) > 0,
                     qPrintable(QString::number(spike)));
        }
    }

    // Hiding a line rescales the shared value axis to the lines still
    // shown, and leaves no pixel of its colour.
    void hiddenLinesLeaveTheAxis_data() {
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<int>("shown");
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");
        QTest::newRow("pressure hidden") << QList<int>{1} << 0 << 12.51 << 21.9;
        QTest::newRow("pressure alone") << QList<int>{0, 2} << 1 << 1012.1 << 1013.0;
    }
    void hiddenLinesLeaveTheAxis() {
        QFETCH(QList<int>, hidden);
        QFETCH(int, shown);
        QFETCH(double, lowest);
        QFETCH(double, highest);
        MeasurePlot plot;
        plot.SetOneAxisPerValue(false);
        AddWeather(plot);
        for (const int series : hidden)
            plot.SetSeriesVisible(series, false);
        const AxisScale axis = plot.ValueAxis(shown);
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
        QVERIFY(plot.ValueAxis(1).Ticks.isEmpty());
        QTest::mouseClick(&plot, Qt::LeftButton, {}, pressure);
        QVERIFY(plot.IsSeriesVisible(1));
        QTest::mouseClick(&plot, Qt::LeftButton, {}, plot.rect().center());
        QVERIFY(plot.IsSeriesVisible(1) && !plot.IsSeriesVisible(0));
    }

    // A failed measurement leaves a gap in the line instead of a bridge
    // across it; more failures in a row, or one before any point, change
    // nothing more; a point between two failures still shows, as a dot.
    // Each plot is compared with one whose time axis and latest value are
    // the same.
    void failureBreaksTheLine_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<QString>("compared");
        QTest::addColumn<int>("expected"); // -1 less ink, 0 the same, 1 more
        QTest::newRow("failure between points") << "0 5 10 | 60 65 70"
                                                << "0 5 10 60 65 70" << -1;
        QTest::newRow("failures in a row") << "0 5 10 | | | 60 65 70"
                                           << "0 5 10 | 60 65 70" << 0;
        QTest::newRow("failure before any point") << "| 0 5 10"
                                                  << "0 5 10" << 0;
        QTest::newRow("lone point between failures") << "0 5 | 30 | 60 65"
                                                     << "0 5 | 60 65" << 1;
    }
    void failureBreaksTheLine() {
        QFETCH(QString, events);
        QFETCH(QString, compared);
        QFETCH(int, expected);
        MeasurePlot plot;
        Play(plot, events);
        MeasurePlot other;
        Play(other, compared);
        const int ink = InkOf(plot, plot.SeriesColour(0));
        const int otherInk = InkOf(other, other.SeriesColour(0));
        const QByteArray counts =
            QByteArray::number(ink) + " against " + QByteArray::number(otherInk);
        if (expected < 0) // the bridge spans most of the width
            QVERIFY2(ink < otherInk * 6 / 10, counts);
        else if (expected == 0)
            QVERIFY2(ink == otherInk, counts);
        else
            QVERIFY2(ink > otherInk, counts);
    }

    // With one axis per value each line fills a band of its own, top to
    // bottom in the legend's order, its axis spanning its own values; on
    // one shared axis the pressure's 1013 flattens the temperature's 21
    // and the voltage's 12.6.
    void axesPerValueOrShared_data() {
        QTest::addColumn<bool>("oneAxisPerValue");
        QTest::newRow("one axis per value") << true;
        QTest::newRow("one shared axis") << false;
    }
    void axesPerValueOrShared() {
        QFETCH(bool, oneAxisPerValue);
        MeasurePlot plot;
        plot.SetOneAxisPerValue(oneAxisPerValue);
        AddWeather(plot);
        const double lowest[] = {21.0, 1012.1, 12.51};
        const double highest[] = {21.9, 1013.0, 12.6};
        for (int series = 0; series < 3; ++series) {
            const AxisScale axis = plot.ValueAxis(series);
            QVERIFY(axis.Min <= lowest[series] && axis.Max >= highest[series]);
            const double ownSpan = highest[series] - lowest[series];
            QCOMPARE(axis.Max - axis.Min < 1.5 * ownSpan, oneAxisPerValue);
        }
        const QPair<int, int> temperature = RowsOf(plot, plot.SeriesColour(0));
        const QPair<int, int> pressure = RowsOf(plot, plot.SeriesColour(1));
        const QPair<int, int> voltage = RowsOf(plot, plot.SeriesColour(2));
        const bool inBands = temperature.second < pressure.first && pressure.second < voltage.first;
        QCOMPARE(inBands, oneAxisPerValue);
    }

    // The arrow keys, Home and End choose a legend entry, never past either
    // end, and Space hides or shows its line.
    void legendKeysToggle_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<int>("current");
        QTest::newRow("Space hides the first line")
            << QList<int>{Qt::Key_Space} << QList<int>{0} << 0;
        QTest::newRow("Right and Space hide the second")
            << QList<int>{Qt::Key_Right, Qt::Key_Space} << QList<int>{1} << 1;
        QTest::newRow("Space again shows it")
            << QList<int>{Qt::Key_Down, Qt::Key_Space, Qt::Key_Space} << QList<int>{} << 1;
        QTest::newRow("no step past either end")
            << QList<int>{Qt::Key_Left, Qt::Key_Up,    Qt::Key_Space,
                          Qt::Key_End,  Qt::Key_Right, Qt::Key_Space}
            << QList<int>{0, 2} << 2;
        QTest::newRow("Home after End")
            << QList<int>{Qt::Key_End, Qt::Key_Home, Qt::Key_Space} << QList<int>{0} << 0;
    }
    void legendKeysToggle() {
        QFETCH(QList<int>, keys);
        QFETCH(QList<int>, hidden);
        QFETCH(int, current);
        MeasurePlot plot;
        QCOMPARE(plot.CurrentLegendEntry(), -1);
        AddWeather(plot);
        for (const int key : keys)
            QTest::keyClick(&plot, Qt::Key(key));
        QCOMPARE(plot.CurrentLegendEntry(), current);
        for (int series = 0; series < 3; ++series)
            QCOMPARE(plot.IsSeriesVisible(series), !hidden.contains(series));
    }
};

QTEST_MAIN(TestMeasurePlot)
#include "tst_measureplot.moc"
