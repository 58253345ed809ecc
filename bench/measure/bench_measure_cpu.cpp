// The CPU a repeated measurement costs: the real window measures "MC" on
// probeterm-sim every 5 s for a minute (pass another number of seconds as
// the first argument), and the program's own user and system time over that
// span is set against the wall time. The simulator runs in a process of its
// own, so its time is not counted.
#include "../link/BenchProcess.h"
#include "app/frmSDI12.h"
#include "measure/MeasurementRunner.h"
#include "measure/ui/MeasureTab.h"
#include "platform/ui/WholeNumberBox.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PROBETERM_SIM", PROBETERM_SIM_PATH);
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? std::max(5, atoi(argv[1])) : 60;

    SimulatorProcess sim({QStringLiteral("--quiet")});
    if (!sim.Started()) {
        std::printf("measure_cpu: the simulator did not start\n");
        return 1;
    }
    TempFolders folders;
    WindowOnDevice program(folders, sim.DevicePath());
    frmSDI12& window = *program.Window;
    window.show();
    window.SSTab->setCurrentWidget(window.Measure);

    MeasureTab& measure = *window.Measure;
    int complete = 0;
    int failed = 0;
    QObject::connect(&measure.Runner(), &MeasurementRunner::measurementEnded,
                     [&](const MeasurementRecord& record) {
                         (record.Outcome.IsComplete() ? complete : failed) += 1;
                     });
    // Settle the start-up work before counting.
    QTimer::singleShot(500, &app, [&] {
        measure.cboMethod->setCurrentText(QStringLiteral("MC"));
        measure.txtMeasureRepeat->setValue(5);
        measure.cmdMeasure->click();
    });
    QElapsedTimer wall;
    double cpuAtStart = 0;
    QTimer::singleShot(600, &app, [&] {
        wall.start();
        cpuAtStart = processorSeconds();
    });
    QTimer::singleShot(600 + seconds * 1000, &app, &QApplication::quit);
    app.exec();

    const double cpu = processorSeconds() - cpuAtStart;
    const double share = 100.0 * cpu / (wall.elapsed() / 1000.0);
    std::printf("measure_cpu_target: under 1 %% of one core while measuring every 5 s\n");
    std::printf("measure_cpu_measurements: %d complete, %d failed in %d s\n", complete, failed,
                seconds);
    std::printf("measure_cpu_share: %.3f %% of one core (%.0f ms CPU)\n", share, cpu * 1000);
    return share < 1.0 && complete > 0 && failed == 0 ? 0 : 1;
}
