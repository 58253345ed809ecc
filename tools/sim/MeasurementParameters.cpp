#include "tools/sim/MeasurementParameters.h"

namespace {

const Parameter kSupplyVoltage{"VB", "V", {"supply voltage"}};

// The profile hangs in the water, a depth every half metre from 0.5 m down.
std::vector<Parameter> temperatureProfile() {
    std::vector<Parameter> profile;
    for (int depth = 1; depth <= 9; ++depth) {
        const std::string metres = std::to_string(depth / 2) + (depth % 2 != 0 ? ".5" : ".0");
        profile.push_back(Parameter{
            "TW" + std::to_string(depth), "degC", {"water temperature", metres + " m deep"}});
    }
    return profile;
}

} // namespace

std::vector<Parameter> MeasurementParameters::of(int index) {
    switch (index) {
    case 0:
        return {{"TA", "degC", {"air temperature"}},
                {"PA", "hPa", {"atmospheric pressure"}},
                kSupplyVoltage};
    case 1:
        return temperatureProfile();
    case 2:
        return {{"XR", "%", {"relative humidity"}}};
    case 3:
        return {{"HG", "m", {"water level"}}, {"WV", "m/s", {"flow velocity"}}};
    default:
        return {};
    }
}

std::vector<Parameter> MeasurementParameters::verification() {
    return {{"ST", " ", {"self-test status (0 sound)"}},
            {"VR", "V", {"reference voltage"}},
            kSupplyVoltage};
}

std::string MeasurementParameters::described(const Parameter& parameter) {
    std::string fields = "," + parameter.name + "," + parameter.unit;
    for (const std::string& field : parameter.more)
        fields += "," + field;
    return fields + ";";
}
