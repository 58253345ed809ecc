#pragma once

#include "tools/sim/AnswerTransmitter.h"
#include "tools/sim/CommandFramer.h"
#include "tools/sim/LineNoise.h"
#include "tools/sim/SensorModel.h"
#include "tools/sim/SimOptions.h"

#include <QSocketNotifier>
#include <QTimer>

#include <map>
#include <string>

class PseudoTerminal;
class Reporter;

// The simulated sensors at work: commands from the line go to the sensor
// model, its answers go back paced through the line's noise, its service
// requests follow when their data are ready, and every step is reported.
class Simulator {
public:
    Simulator(const PseudoTerminal& line, const SimOptions& options, const Reporter& reporter);

private:
    void readLine();
    void handle(const ReceivedCommand& command);
    void stopMeasurements(char address);
    void scheduleFollowUp(char address, const FollowUp& followUp,
                          AnswerTransmitter::Clock::time_point answerStart);

    // A line a sensor sends by itself once its timer runs out.
    struct PendingLine {
        QTimer timer;
        std::string line;
    };

    const PseudoTerminal& m_line;
    SimOptions m_options;
    const Reporter& m_reporter;
    CommandFramer m_framer;
    SensorModel m_sensors;
    LineNoise m_noise;
    // From a command's last character to its answer's first.
    AnswerTransmitter::Clock::duration m_answerDelay;
    AnswerTransmitter m_transmitter;
    std::map<char, PendingLine> m_followUps; // by the address of the sensor that sends it
    QSocketNotifier m_notifier;
};
