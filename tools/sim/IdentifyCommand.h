#pragma once

#include "tools/sim/MeasurementCommand.h"

#include <optional>
#include <string>

// A question about a measurement command, read from the text between
// address and "!": "I" and the measurement command (IM, IMC, IC1, ICC9, IV)
// asks what that command would answer, without measuring; a "_nnn" after it
// (IM_001, IRC0_012) asks what the nnn-th value is. R commands answer with
// their values at once, so only their parameters can be asked.
struct IdentifyCommand {
    MeasurementCommand measurement;
    int parameter = 0; // 1..999; 0 for the measurement's own promise

    static std::optional<IdentifyCommand> read(const std::string& body);
};
