#pragma once

#include <QStringList>

#include <cstdint>
#include <optional>
#include <string>

// What the command line asks of the simulated sensors.
struct SimOptions {
    std::string addresses = "0";
    std::string linkPath;
    int wakeUps = 0; // 0xFE bytes a command needs before the sensor hears it
    int lateMs = 0;  // added to the sensor's turnaround
    int pauseAt = 0; // pause after this many characters of every answer
    int pauseMs = 0;
    bool silent = false;
    bool quiet = false;
    bool badCrc = false;               // every CRC sent is wrong
    double timeScale = 1.0;            // the sensors' times are this many times shorter
    double dropChance = 0;             // of losing an answer
    double garbleChance = 0;           // of damaging a character of an answer
    std::optional<std::uint32_t> seed; // of the line's noise; none: a new one each run
};

// Reads the arguments (program name first). Prints the help and exits for
// --help; returns nothing and says why in `error` for a bad argument.
std::optional<SimOptions> readOptions(const QStringList& arguments, QString& error);
