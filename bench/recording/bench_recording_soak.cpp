// Recording on the line for a long while: measurements of three sensors
// (0, 3, 5) one cycle after another against probeterm-sim --time-scale 20,
// through the window, every row recorded. Prints the failed rows, the rows
// in the file, the resident memory every 1,000 measurements, and then the
// processor time while recording the three sensors every 5 s for a minute.
//
//   bench_recording_soak [measurements]      (default 3000)
#include "../link/BenchFigures.h"
#include "../link/BenchProcess.h"
#include "measure/MeasurementRunner.h"
#include "measure/ui/MeasureTab.h"
#include "recording/MeasurementRecorder.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PROBETERM_SIM", PROBETERM_SIM_PATH);
    QApplication app(argc, argv);
    const int measurements = argc > 1 ? std::max(3, atoi(argv[1])) : 3000;

    SimulatorProcess sim({QStringLiteral("--quiet"), QStringLiteral("--address"),
                          QStringLiteral("035"), QStringLiteral("--time-scale"),
                          QStringLiteral("20")});
    if (!sim.Started()) {
        std::printf("soak: the simulator did not start\n");
        return 1;
    }
    TempFolders folders;
    WindowOnDevice program(folders, sim.DevicePath());
    MeasurementRunner& runner = program.Window->Measure->Runner();
    const MeasurementMethod method = *MeasurementMethod::FromName(QStringLiteral("M"));
    const QList<QChar> sensors{'0', '3', '5'};
    const QStringList values = RecordColumns::NumberedLabels(3);
    MeasurementRecorder recorder;
    const QString file = folders.Root() + QStringLiteral("/soak.csv");
    recorder.start(file, {{'0', values}, {'3', values}, {'5', values}}, method, {},
                   QDateTime::currentDateTimeUtc());
    int ended = 0;
    int failed = 0;
    QObject::connect(
        &runner, &MeasurementRunner::measurementEnded, [&](const MeasurementRecord& record) {
            recorder.record(record);
            ++ended;
            failed += !record.Outcome.IsComplete();
            if (ended % 1000 == 0)
                std::printf("soak_rss_after_%d: %.1f MB\n", ended, residentMegabytes());
        });
    std::printf("soak_rss_at_start: %.1f MB\n", residentMegabytes());
    // Cycles back to back: each starts as the one before ends.
    while (ended < measurements) {
        runner.start(sensors, method, 0);
        QEventLoop cycle;
        QObject::connect(&runner, &MeasurementRunner::runningChanged, &cycle, &QEventLoop::quit);
        cycle.exec();
    }
    std::printf("soak_target: 0 failed rows, exactly %d rows in the file\n", ended);
    std::printf("soak_failed_rows: %d of %d\n", failed, ended);
    std::printf("soak_rows_in_file: %lld\n", static_cast<long long>(recorder.rows()));

    // Processor time while recording the three sensors every 5 s.
    const double cpuBefore = processorSeconds();
    QElapsedTimer wall;
    wall.start();
    runner.start(sensors, method, 5);
    QEventLoop minute;
    QTimer::singleShot(60000, &minute, &QEventLoop::quit);
    minute.exec();
    runner.stop();
    const double share = (processorSeconds() - cpuBefore) / (wall.nsecsElapsed() / 1e9);
    std::printf("recording_cpu_target: below 1 %% of one core, three sensors every 5 s\n");
    std::printf("recording_cpu: %.2f %% of one core\n", share * 100);
    return failed == 0 ? 0 : 1;
}
