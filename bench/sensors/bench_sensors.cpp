// The Sensors tab against the simulated bus of sensors 0 and 3, with the
// recorders' retry rule and the first-byte time-out of 60 ms:
// 1. a scan of "0–9": two sensors found and identified, eight addresses
//    called absent after a round of three tries each;
// 2. a scan of "all 62", "?!" first;
// 3. the names and units of M's three values.
#include "../link/BenchFigures.h"
#include "measure/MeasurementMethod.h"
#include "sensors/SensorBus.h"
#include "sensors/ui/SensorsTab.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSignalSpy>

namespace {

// Runs `work` on the tab's bus and waits for it to end: its time in ms, or
// -1 when it did not end or `ended` says it went wrong.
double timed(SensorsTab& tab, const std::function<void()>& work,
             const std::function<bool()>& ended) {
    QElapsedTimer clock;
    clock.start();
    work();
    if (!QTest::qWaitFor([&tab] { return !tab.Bus().isBusy(); }, 60000) || !ended())
        return -1;
    return clock.nsecsElapsed() / 1e6;
}

bool foundBoth(const SensorsTab& tab) {
    const QList<ScanFinding>& found = tab.Survey().sensors();
    return found.size() == 2 && found.at(0).Identity && found.at(1).Identity;
}

int scans(SensorsTab& tab, BusAddresses::Range range, const char* name, int runs, double targetMs) {
    QVector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double time = timed(
            tab, [&tab, range] { tab.Bus().scan(range); }, [&tab] { return foundBoth(tab); });
        if (time < 0) {
            std::printf("%s: the scan did not find sensors 0 and 3\n", name);
            return 1;
        }
        times.append(time);
    }
    std::printf("%s_target: within %.0f ms\n", name, targetMs);
    printFigures(name, times);
    return *std::max_element(times.begin(), times.end()) <= targetMs ? 0 : 1;
}

int namesAndUnits(SensorsTab& tab, int runs) {
    QVector<double> times;
    QSignalSpy ended(&tab.Bus(), &SensorBus::metadataEnded);
    for (int run = 0; run < runs; ++run) {
        const double time = timed(
            tab, [&tab] { tab.Bus().readMetadata('0', *MeasurementMethod::FromName("M")); },
            [&ended] {
                return !ended.isEmpty() &&
                       ended.takeFirst().at(2).value<MethodMetadata>().Parameters.size() == 3;
            });
        if (time < 0) {
            std::printf("metadata: the three names and units did not come\n");
            return 1;
        }
        times.append(time);
    }
    std::printf("metadata_target: three parameters within 2000 ms\n");
    printFigures("metadata", times);
    return *std::max_element(times.begin(), times.end()) <= 2000 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PROBETERM_SIM", PROBETERM_SIM_PATH);
    QApplication app(argc, argv);
    SimulatorProcess sim(
        {QStringLiteral("--quiet"), QStringLiteral("--address"), QStringLiteral("03")});
    if (!sim.Started()) {
        std::printf("sensors: the simulator did not start\n");
        return 1;
    }
    TempFolders folders;
    WindowOnDevice program(folders, sim.DevicePath());
    SensorsTab& tab = *program.Window->Sensors;
    tab.Bus().setRetries(RetrySettings{true, RetrySettings::DefaultFirstByteTimeoutMs});
    int status = scans(tab, BusAddresses::Range::Standard, "scan_0_9", 5, 3000);
    status |= scans(tab, BusAddresses::Range::All, "scan_all_62", 3, 20000);
    status |= namesAndUnits(tab, 5);
    return status;
}
