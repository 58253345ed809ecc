// Split rate under load: 1,000 exchanges of "0I!" through the window against
// probeterm-sim while two CPU-bound processes keep both cores busy. Every
// answer must complete exactly once: as many completions, transcript pairs
// and log lines as exchanges. Pass a smaller count as the first argument for
// a quick run.
#include "app/frmSDI12.h"
#include "link/TranscriptModel.h"
#include "link/ui/SensorLink.h"
#include "support/SimulatorProcess.h"
#include "support/WindowOnDevice.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A child that spins for at most `seconds`, so that it ends even if we die.
pid_t startBusyLoop(int seconds) {
    const pid_t child = fork();
    if (child == 0) {
        const time_t end = time(nullptr) + seconds;
        volatile unsigned long spin = 0;
        while (time(nullptr) < end)
            for (int i = 0; i < 1000000; ++i)
                spin = spin + 1;
        _exit(0);
    }
    return child;
}

} // namespace

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
    if (setpriority(PRIO_PROCESS, id_t(sim.ProcessId()), -10) != 0)
        std::printf("split_rate_note: the simulator runs at normal priority (not root)\n");
    TempFolders folders;
    WindowOnDevice program(folders, sim.DevicePath());
    frmSDI12& window = *program.Window;

    int answered = 0;
    int timedOut = 0;
    bool ended = false;
    QObject::connect(&window.Link(), &SensorLink::ExchangeEnded,
                     [&](ExchangeId, ExchangeOutcome outcome, const QByteArray&) {
                         ended = true;
                         answered += outcome == ExchangeOutcome::Answered;
                         timedOut += outcome == ExchangeOutcome::TimedOut;
                     });

    const pid_t busy[] = {startBusyLoop(3600), startBusyLoop(3600)};
    for (int exchange = 0; exchange < exchanges; ++exchange) {
        ended = false;
        window.Link().SendCommand(QStringLiteral("0I!"));
        const QDeadlineTimer deadline(5000);
        while (!ended && !deadline.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        // Let a split remainder, if any, complete before the next command.
        const QDeadlineTimer settle(150);
        while (!settle.hasExpired())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    for (const pid_t child : busy) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }

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
