#include "measure/ui/MeasurePlot.h"

#include <QMenu>
#include <QtTest>

#include <cmath>

namespace {

const QDateTime Start(QDate(2024, 3, 9), QTime(12, 0));

// A temperature, a pressure and a supply voltage over ten measurements:
// 21.0 .. 21.9, 1012.1 .. 1013 and 12.51 .. 12.6.
void AddWeather(MeasurePlot& plot) {
    for (int i = 0; i < 10; ++i)
        plot.AddMeasurement(Start.addSecs(5 * i), {21 + 0.1 * i, 1013 - 0.1 * i, 12.6 - 0.01 * i});
}

QImage Rendered(MeasurePlot& plot) {
    QImage image(plot.size(), QImage::Format_RGB32);
    plot.render(&image);
    return image;
}

// Pixels of exactly `colour` within rows [top, bottom).
int PixelsOf(const QImage& image, const QColor& colour, int top = 0, int bottom = -1) {
    if (bottom < 0)
        bottom = image.height();
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour.rgb() ? 1 : 0;
    }
    return count;
}

} // namespace

class TestMeasurePlot : public QObject {
    Q_OBJECT
private slots:
    // Each value's line shows in its own colour, from a lone point to more
    // points than the plot has pixel columns, on a light or dark palette.
    void everySeriesShows_data() {
        QTest::addColumn<int>("measurements");
        QTest::addColumn<bool>("dark");
        QTest::newRow("one measurement") << 1 << false;
        QTest::newRow("a few") << 20 << false;
        QTest::newRow("more than pixel columns") << 5000 << false;
        QTest::newRow("dark palette") << 20 << true;
    }
    void everySeriesShows() {
        QFETCH(int, measurements);
        QFETCH(bool, dark);
        MeasurePlot plot;
        plot.resize(400, 250);
        QPalette colours = plot.palette();
        colours.setColor(QPalette::Base, dark ? QColor(30, 30, 30) : QColor(Qt::white));
        colours.setColor(QPalette::Text, dark ? QColor(Qt::white) : QColor(Qt::black));
        plot.setPalette(colours);
        for (int i = 0; i < measurements; ++i)
            plot.AddMeasurement(Start.addSecs(5 * i), {21 + std::sin(i), 1013 - 0.001 * i, 12.6});
        QCOMPARE(plot.SeriesCount(), 3);
        QCOMPARE(plot.PointCount(2), measurements);
        const QImage image = Rendered(plot);
        QCOMPARE(image.pixelColor(0, image.height() - 1), colours.color(QPalette::Base));
        for (int series = 0; series < 3; ++series)
            QVERIFY2(PixelsOf(image, plot.SeriesColour(series)) > 10,
                     qPrintable(QString::number(series)));
    }

    // Thinning a long line per pixel column must keep its extremes: one
    // spike among 5000 points still reaches the top of the plot, wherever
    // it falls in its column.
    void longLineKeepsItsSpike_data() {
        QTest::addColumn<int>("spike");
        for (int spike = 2500; spike < 2503; ++spike)
            QTest::addRow("at %d", spike) << spike;
    }
    void longLineKeepsItsSpike() {
        QFETCH(int, spike);
        MeasurePlot plot;
        plot.resize(400, 250);
        for (int i = 0; i < 5000; ++i)
            plot.AddMeasurement(Start.addSecs(5 * i), {i == spike ? 20.0 : 10.0, 0.0});
        const QImage image = Rendered(plot);
        // Between the legend and the line at 10: only the spike is there.
        QVERIFY(PixelsOf(image, plot.SeriesColour(0), 40, 80) > 0);
    }

    // The value axis spans the shown lines only, and hidden lines leave no
    // pixel of their colour.
    void hiddenSeriesLeaveTheAxis_data() {
        QTest::addColumn<QList<int>>("hidden");
        QTest::addColumn<double>("lowest");
        QTest::addColumn<double>("highest");
        QTest::newRow("all shown") << QList<int>{} << 12.51 << 1013.0;
        QTest::newRow("pressure hidden") << QList<int>{1} << 12.51 << 21.9;
        QTest::newRow("pressure alone") << QList<int>{0, 2} << 1012.1 << 1013.0;
    }
    void hiddenSeriesLeaveTheAxis() {
        QFETCH(QList<int>, hidden);
        QFETCH(double, lowest);
        QFETCH(double, highest);
        MeasurePlot plot;
        plot.resize(400, 250);
        AddWeather(plot);
        for (const int series : hidden)
            plot.SetSeriesVisible(series, false);
        const AxisScale axis = plot.ValueAxis();
        QVERIFY(axis.Ticks.size() >= 4);
        QVERIFY(axis.Ticks.first().Position <= lowest + (highest - lowest) / 4);
        QVERIFY(axis.Ticks.last().Position >= highest - (highest - lowest) / 4);
        QVERIFY(axis.Min <= lowest && axis.Max >= highest);
        QVERIFY(axis.Max - axis.Min < 1.5 * (highest - lowest));
        const QImage image = Rendered(plot);
        for (int series = 0; series < 3; ++series)
            QCOMPARE(PixelsOf(image, plot.SeriesColour(series)) > 0, !hidden.contains(series));
    }

    // A click on a legend entry hides its line, a second shows it again;
    // hiding every line leaves the legend to click.
    void legendClickToggles() {
        MeasurePlot plot;
        plot.resize(400, 250);
        AddWeather(plot);
        const QPoint pressure = plot.LegendEntryRect(1).center();
        QTest::mouseClick(&plot, Qt::LeftButton, {}, pressure);
        QVERIFY(!plot.IsSeriesVisible(1));
        QVERIFY(plot.IsSeriesVisible(0) && plot.IsSeriesVisible(2));
        plot.SetSeriesVisible(0, false);
        plot.SetSeriesVisible(2, false);
        QVERIFY(plot.ValueAxis().Ticks.isEmpty());
        QVERIFY(PixelsOf(Rendered(plot), plot.SeriesColour(1)) == 0);
        QTest::mouseClick(&plot, Qt::LeftButton, {}, pressure);
        QVERIFY(plot.IsSeriesVisible(1));
        // Below the legend, on the plot itself, a click changes nothing.
        QTest::mouseClick(&plot, Qt::LeftButton, {}, plot.rect().center());
        QVERIFY(plot.IsSeriesVisible(1) && !plot.IsSeriesVisible(0));
    }

    // Shift+F10 opens the context menu: a ticked entry for each shown line,
    // and "Show all".
    void keyboardMenuShowsAll() {
        MeasurePlot plot;
        plot.resize(400, 250);
        AddWeather(plot);
        plot.SetSeriesVisible(0, false);
        plot.SetSeriesVisible(2, false);
        QStringList ticked;
        QTimer::singleShot(0, &plot, [&ticked] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            for (QAction* action : menu->actions()) {
                if (action->isChecked())
                    ticked.append(action->text());
                if (action->text() == QStringLiteral("Show all"))
                    action->trigger();
            }
            menu->close();
        });
        QTest::keyClick(&plot, Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(ticked, QStringList{QStringLiteral("value 2")});
        for (int series = 0; series < 3; ++series)
            QVERIFY(plot.IsSeriesVisible(series));
    }

    void seriesGrowAndClear() {
        MeasurePlot plot;
        plot.resize(400, 250);
        const QColor background = plot.palette().color(QPalette::Base);
        const int emptyBackground = PixelsOf(Rendered(plot), background);
        plot.AddMeasurement(Start, {1});
        plot.AddMeasurement(Start.addSecs(5), {2, NAN, 3});
        plot.AddMeasurement(QDateTime(), {4, 5, 6});
        QCOMPARE(plot.SeriesCount(), 3);
        QCOMPARE(plot.PointCount(0), 2);
        QCOMPARE(plot.PointCount(1), 0);
        QCOMPARE(plot.PointCount(2), 1);
        QVERIFY(PixelsOf(Rendered(plot), plot.SeriesColour(2)) > 0);
        plot.SetSeriesVisible(2, false);

        plot.Clear();
        QCOMPARE(plot.SeriesCount(), 0);
        QCOMPARE(plot.PointCount(0), 0);
        const QImage image = Rendered(plot);
        QCOMPARE(PixelsOf(image, plot.SeriesColour(0)), 0);
        // The empty plot says so: some text, and nothing else.
        QCOMPARE(PixelsOf(image, background), emptyBackground);
        QVERIFY(emptyBackground < image.width() * image.height());
        plot.AddMeasurement(Start, {1, 2, 3});
        QVERIFY(plot.IsSeriesVisible(2));
    }

    void seriesColoursDiffer() {
        MeasurePlot plot;
        QSet<QRgb> colours;
        for (int series = 0; series < 40; ++series)
            colours.insert(plot.SeriesColour(series).rgb());
        QCOMPARE(colours.size(), 40);
    }
};

QTEST_MAIN(TestMeasurePlot)
#include "tst_measureplot.moc"
