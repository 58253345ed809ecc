#include "tools/sim/SensorModel.h"

#include "tools/sim/SimIdentity.h"

#include <cctype>
#include <cstdio>

namespace {

// Two values that drift slowly from one measurement to the next, as a water
// level in metres and a temperature in degrees would.
std::string readingValues(int reading) {
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f%+.1f", 12.34 + 0.01 * (reading % 50),
                  21.5 + 0.1 * (reading % 20));
    return text;
}

std::string identification() {
    return std::string("13") + SimIdentity::kVendor + SimIdentity::kModel + SimIdentity::kVersion +
           SimIdentity::kSerialNumber;
}

} // namespace

SensorModel::SensorModel(const std::string& addresses) {
    for (const char address : addresses)
        sensors_.push_back(Sensor{address, 0, readingValues(0), ExtendedSettings()});
}

bool SensorModel::isValidAddress(char character) {
    return std::isalnum(static_cast<unsigned char>(character)) != 0;
}

Reply SensorModel::respond(const std::string& command) {
    if (command.size() < 2 || command.back() != '!' || sensors_.empty())
        return {};
    const std::string body = command.substr(1, command.size() - 2);
    if (command[0] == '?') {
        const std::string first(1, sensors_.front().address);
        if (body.empty())
            return answering(first);
        if (body == "X")
            return answering(first + SimIdentity::kFamilyTag);
        return {};
    }
    Sensor* sensor = sensorAt(command[0]);
    return sensor == nullptr ? Reply() : respond(*sensor, body);
}

Reply SensorModel::respond(Sensor& sensor, const std::string& body) {
    const std::string address(1, sensor.address);
    const auto measure = [&sensor] { sensor.values = readingValues(sensor.readings++); };

    if (body.empty())
        return answering(address);
    if (body == "I")
        return answering(address + identification());
    if (body.size() == 2 && body[0] == 'A')
        return changeAddress(sensor, body[1]);
    if (body == "M") {
        measure();
        return answering(address + "0002");
    }
    if (body == "C" || body == "CC") {
        measure();
        return answering(address + "00002");
    }
    if (body == "R0") {
        measure();
        return answering(address + sensor.values);
    }
    if (body == "D0")
        return answering(address + sensor.values);
    // Both values fit in D0; the further data commands have nothing more.
    if (body.size() == 2 && body[0] == 'D' && body[1] >= '1' && body[1] <= '9')
        return answering(address);
    if (body == "V")
        return answering(address + "0000");
    if (body[0] == 'X')
        return sensor.extended.respond(sensor.address, body);
    return {};
}

// An address that is not valid or belongs to another sensor on the bus is
// refused: the sensor keeps its address and says so.
Reply SensorModel::changeAddress(Sensor& sensor, char newAddress) {
    const bool taken = newAddress != sensor.address && sensorAt(newAddress) != nullptr;
    if (isValidAddress(newAddress) && !taken)
        sensor.address = newAddress;
    return answering(std::string(1, sensor.address));
}

SensorModel::Sensor* SensorModel::sensorAt(char address) {
    for (Sensor& sensor : sensors_) {
        if (sensor.address == address)
            return &sensor;
    }
    return nullptr;
}
