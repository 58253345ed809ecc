#include "tools/sim/DeviceLink.h"
#include "tools/sim/PseudoTerminal.h"
#include "tools/sim/QuitOnSignals.h"
#include "tools/sim/Reporter.h"
#include "tools/sim/SimOptions.h"
#include "tools/sim/Simulator.h"

#include <QCoreApplication>

#include <clocale>
#include <csignal>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // SDI-12 values always use "."; Qt has set the numbers' locale from the
    // environment, which may use ",".
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName("probeterm-sim");
    // A reader that goes away must not end the simulator half-way.
    std::signal(SIGPIPE, SIG_IGN);

    QString optionError;
    const std::optional<SimOptions> options = readOptions(app.arguments(), optionError);
    if (!options) {
        std::fprintf(stderr, "probeterm-sim: %s (see --help)\n", qPrintable(optionError));
        return 2;
    }
    const QuitOnSignals quitOnSignals;

    std::string error;
    PseudoTerminal line;
    if (!line.open(error)) {
        std::fprintf(stderr, "probeterm-sim: %s\n", error.c_str());
        return 1;
    }
    DeviceLink link;
    if (!options->linkPath.empty() && !link.create(options->linkPath, line.devicePath(), error)) {
        std::fprintf(stderr, "probeterm-sim: %s\n", error.c_str());
        return 1;
    }
    const Reporter reporter(options->quiet);
    reporter.devicePath(line.devicePath());
    const Simulator simulator(line, *options, reporter);
    return QCoreApplication::exec();
}
