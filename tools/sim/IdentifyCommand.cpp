#include "tools/sim/IdentifyCommand.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr char kParameterMark = '_';
constexpr std::size_t kParameterDigits = 3;

std::optional<int> parameterNumber(const std::string& digits) {
    const bool allDigits = std::all_of(digits.begin(), digits.end(), [](char character) {
        return std::isdigit(static_cast<unsigned char>(character)) != 0;
    });
    if (digits.size() != kParameterDigits || !allDigits || digits == "000")
        return std::nullopt;
    return std::stoi(digits);
}

} // namespace

std::optional<IdentifyCommand> IdentifyCommand::read(const std::string& body) {
    if (body.empty() || body[0] != 'I')
        return std::nullopt;
    const std::size_t mark = body.find(kParameterMark);
    const std::optional<MeasurementCommand> measurement =
        MeasurementCommand::read(body.substr(1, mark == std::string::npos ? mark : mark - 1));
    if (!measurement)
        return std::nullopt;
    if (mark == std::string::npos) {
        if (measurement->kind == MeasurementCommand::Kind::Continuous)
            return std::nullopt;
        return IdentifyCommand{*measurement, 0};
    }
    const std::optional<int> parameter = parameterNumber(body.substr(mark + 1));
    if (!parameter)
        return std::nullopt;
    return IdentifyCommand{*measurement, *parameter};
}
