#pragma once

#include "tools/sim/AnswerTransmitter.h"
#include "tools/sim/CommandFramer.h"
#include "tools/sim/SensorModel.h"
#include "tools/sim/SimOptions.h"

#include <QSocketNotifier>

class PseudoTerminal;
class Reporter;

// The simulated sensors at work: commands from the line go to the sensor
// model, its answers go back paced, and every step is reported.
class Simulator {
public:
    Simulator(const PseudoTerminal& line, const SimOptions& options, const Reporter& reporter);

private:
    void readLine();
    void handle(const ReceivedCommand& command);

    const PseudoTerminal& line_;
    SimOptions options_;
    const Reporter& reporter_;
    CommandFramer framer_;
    SensorModel sensors_;
    AnswerTransmitter transmitter_;
    QSocketNotifier notifier_;
};
