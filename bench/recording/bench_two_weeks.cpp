// Two weeks of recording without the line: 240,000 measurements of three
// values, one every 5 s, fed straight into what a recording keeps: the
// Measure tab's table, its plot and the record file. Prints the growth of
// resident memory, the plot's repaint at the end, and the rows in the file.
// The file goes to memory (/dev/shm) where there is one, so that the run
// measures what is kept rather than the disk's syncs (bench_durable_append
// measures those).
#include "../link/BenchFigures.h"
#include "../link/BenchProcess.h"
#include "measure/MeasurementTable.h"
#include "measure/ui/MeasurePlot.h"
#include "recording/RecordFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>

namespace {

constexpr int Measurements = 240000;

QList<MeasuredValue> valuesAt(int measurement) {
    const double hours = measurement * 5 / 3600.0;
    const double noise = std::sin(measurement * 12.9898) * 0.5;
    const double numbers[] = {21 + 3 * std::sin(hours / 2) + 0.2 * noise,
                              1013 + 6 * std::sin(hours / 5) + noise,
                              12.6 - 0.001 * hours + 0.05 * noise};
    QList<MeasuredValue> values;
    for (const double number : numbers)
        values.append({QString::number(number, 'f', 2), number});
    return values;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                             ? QStringLiteral("/dev/shm/probeterm-XXXXXX")
                             : QDir::tempPath() + QStringLiteral("/probeterm-XXXXXX"));
    MeasurementTable table;
    MeasurePlot plot;
    plot.resize(800, 500);
    RecordFile file;
    const QDateTime start(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    const QString path = folder.filePath(QStringLiteral("two-weeks.csv"));
    file.Open(path, RecordColumns({{'0', RecordColumns::NumberedLabels(3)}}), {}, start);

    const double before = residentMegabytes();
    for (int measurement = 0; measurement < Measurements; ++measurement) {
        MeasurementRecord record{
            start.addSecs(qint64(measurement) * 5), QStringLiteral("0M!"), {}, '0'};
        record.Outcome.Values = valuesAt(measurement);
        record.Outcome.Promised = 3;
        table.Append(record);
        QList<double> numbers;
        for (const MeasuredValue& value : record.Outcome.Values)
            numbers.append(value.Number);
        plot.AddMeasurement(record.Time, numbers);
        file.AppendRow(RecordRow::FromMeasurement('0', *MeasurementMethod::FromName("M"), record));
    }
    const double after = residentMegabytes();

    QImage image(plot.size(), QImage::Format_ARGB32_Premultiplied);
    QVector<double> repaints;
    for (int repaint = 0; repaint < 50; ++repaint) {
        QElapsedTimer painting;
        painting.start();
        plot.render(&image);
        repaints.append(painting.nsecsElapsed() / 1e6);
    }
    QFile written(path);
    written.open(QIODevice::ReadOnly);
    const qint64 lines = written.readAll().count('\n');

    std::printf("two_weeks_target: RSS growth <= 30 MB, repaint <= 16 ms, %d rows in the file\n",
                Measurements);
    std::printf("two_weeks_rss_growth: %.1f MB (%.1f -> %.1f)\n", after - before, before, after);
    std::printf("two_weeks_table_rows: %d\n", table.rowCount());
    std::printf("two_weeks_plot_points_per_line: %lld\n",
                static_cast<long long>(plot.PointCount(0)));
    printFigures("two_weeks_plot_repaint", repaints);
    std::printf("two_weeks_rows_in_file: %lld\n", static_cast<long long>(lines - 1));
    return lines - 1 == Measurements ? 0 : 1;
}
