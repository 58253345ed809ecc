// Split rate under load: 1,000 exchanges of "0I!" through the window against
// probeterm-sim while two CPU-bound processes keep both cores busy. Every
// answer must complete exactly once: as many completions, transcript pairs
// and log lines as exchanges. Pass a smaller count as the first argument for
// a quick run.
#include "BusyLoops.h"
#include "app/frmSDI12.h"
#include "link/LinkEngine.h"
#include "link/TranscriptModel.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <cstdio>
#include <optional>
#include <sys/resource.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("PROBETERM_SIM", PROBETERM_SIM_PATH);
    QApplication app(argc, argv);
    const int exchanges = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;

    SimulatorProcess sim({QStringLiteral("--quiet")});
    if (!sim.Started()) {
        std::printf("split_rate: the simulator did not start\n");
        return 1;
    }
    // The simulator stands in for a sensor, which has a processor of its own:
    // the load is meant for ProbeTerm, not for the sensor's pacing.
    if (getpriority(PRIO_PROCESS, id_t(sim.ProcessId())) >= 0)
        std::printf("split_rate_note: the simulator runs at normal priority (not root)\n");
    TempFolders folders;
    WindowOnDevice program(folders, sim.DevicePath());
    frmSDI12& window = *program.Window;

    int answered = 0;
    int timedOut = 0;
    bool ended = false;
    QObject::connect(&window.Link(), &LinkEngine::exchangeEnded,
                     [&](ExchangeId, ExchangeOutcome outcome, const QByteArray&) {
                         ended = true;
                         answered += outcome == ExchangeOutcome::Answered;
                         timedOut += outcome == ExchangeOutcome::TimedOut;
                     });

    std::optional<BusyLoops> busy(std::in_place, 3600);
    for (int exchange = 0; exchange < exchanges; ++exchange) {
        ended = false;
        window.Link().sendCommand(QStringLiteral("0I!"));
        const QDeadlineTimer deadline(5000);
        while (!ended && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        // Let a split remainder, if any, complete before the next command.
        const QDeadlineTimer settle(150);
        while (!settle.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    busy.reset();

    QFile log(window.LogFilePath());
    const int logLines = log.open(QIODevice::ReadOnly) ? int(log.readAll().count("\r\n")) : -1;
    std::printf("split_rate_target: %d completions and %d log lines for %d exchanges\n", exchanges,
                exchanges, exchanges);
    std::printf("split_rate_exchanges: %d (answered %d, timed out %d)\n", exchanges, answered,
                timedOut);
    std::printf("split_rate_completions: %d\n", window.Transcript().rowCount() / 2);
    std::printf("split_rate_log_lines: %d\n", logLines);
    return window.Transcript().rowCount() / 2 == exchanges && logLines == exchanges ? 0 : 1;
}
