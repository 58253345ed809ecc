#pragma once

#include <optional>
#include <string>

// A command that starts a measurement, read from the text between address
// and "!": M, M1..M9 and V wait for a service request, C, C1..C9 run
// concurrently, R0..R9 answer with the values at once. A "C" after the
// letter (MC, CC1, RC0) asks for a CRC on each data answer.
struct MeasurementCommand {
    enum class Kind { Measure, Concurrent, Continuous, Verify };

    Kind kind = Kind::Measure;
    bool withCrc = false;
    int index = 0; // 1..9 for M1, C1 ...; 0..9 for R0..R9; 0 for M, C and V

    static std::optional<MeasurementCommand> read(const std::string& body);
};
