// Repainting the Measure tab's plot after a long run: three values of
// 10,000 measurements each, 5 s apart (almost 14 hours), at 800 x 500
// pixels. Prints the time to render the plot into an image, over 200
// repaints, and the time to add one measurement.
#include "../link/BenchFigures.h"
#include "measure/ui/MeasurePlot.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <cmath>

namespace {

constexpr int Measurements = 10000;
constexpr int Repaints = 200;

// A temperature, a pressure and a supply voltage drifting slowly, each
// with a little noise so that the lines' pixel columns hold spread values.
QList<double> Values(int measurement) {
    const double hours = measurement * 5 / 3600.0;
    const double noise = std::sin(measurement * 12.9898) * 0.5;
    return {21 + 3 * std::sin(hours / 2) + 0.2 * noise, 1013 + 6 * std::sin(hours / 5) + noise,
            12.6 - 0.02 * hours + 0.05 * noise};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MeasurePlot plot;
    plot.resize(800, 500);

    const QDateTime start = QDateTime::currentDateTime();
    QList<QDateTime> times;
    QList<QList<double>> values;
    for (int measurement = 0; measurement < Measurements; ++measurement) {
        times.append(start.addSecs(5 * measurement));
        values.append(Values(measurement));
    }
    QElapsedTimer adding;
    adding.start();
    for (int measurement = 0; measurement < Measurements; ++measurement)
        plot.AddMeasurement(times[measurement], values[measurement]);
    const double addUs = adding.nsecsElapsed() / 1e3 / Measurements;

    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    QVector<double> repaints;
    for (int repaint = 0; repaint < Repaints; ++repaint) {
        QElapsedTimer painting;
        painting.start();
        plot.render(&image);
        repaints.append(painting.nsecsElapsed() / 1e6);
    }
    printFigures("plot_repaint_3x10000", repaints);
    std::printf("plot_add_measurement: %.2f us\n", addUs);
    return 0;
}
