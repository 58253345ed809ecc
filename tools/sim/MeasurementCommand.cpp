#include "tools/sim/MeasurementCommand.h"

std::optional<MeasurementCommand> MeasurementCommand::read(const std::string& body) {
    using Kind = MeasurementCommand::Kind;
    if (body == "V")
        return MeasurementCommand{Kind::Verify, false, 0};
    if (body.empty() || (body[0] != 'M' && body[0] != 'C' && body[0] != 'R'))
        return std::nullopt;
    MeasurementCommand command;
    command.kind = body[0] == 'M'   ? Kind::Measure
                   : body[0] == 'C' ? Kind::Concurrent
                                    : Kind::Continuous;
    command.withCrc = body.size() > 1 && body[1] == 'C';
    const std::string number = body.substr(command.withCrc ? 2 : 1);
    const bool continuous = command.kind == Kind::Continuous;
    if (number.empty())
        return continuous ? std::nullopt : std::optional(command);
    // M0 and C0 do not exist: the plain M and C take their place.
    const char lowest = continuous ? '0' : '1';
    if (number.size() != 1 || number[0] < lowest || number[0] > '9')
        return std::nullopt;
    command.index = number[0] - '0';
    return command;
}
