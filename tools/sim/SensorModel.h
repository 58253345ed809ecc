#pragma once

#include "tools/sim/ExtendedSettings.h"
#include "tools/sim/MeasurementCommand.h"
#include "tools/sim/Reply.h"

#include <string>
#include <vector>

// One or more SDI-12 sensors sharing a bus: a command text in, the answer of
// the sensor it addresses out. A command for an address that no sensor here
// owns, or one the sensors do not know, gets no answer.
class SensorModel {
public:
    // addresses: one character per sensor, all valid and different; the
    // first one answers the address queries. corruptCrc: every CRC the
    // sensors send is wrong, as a disturbed line would make it.
    explicit SensorModel(const std::string& addresses, bool corruptCrc = false);

    static bool isValidAddress(char character);

    // command: the whole command text, address first, ending in "!".
    Reply respond(const std::string& command);

private:
    struct Sensor {
        char address;
        int readings = 0; // measurements taken so far
        // The latest measurement's values, one group for each of D0, D1 ...
        std::vector<std::string> data;
        bool dataWithCrc = false;
        ExtendedSettings extended;
    };

    Reply respond(Sensor& sensor, const std::string& body);
    Reply measure(Sensor& sensor, const MeasurementCommand& command);
    Reply sendData(const Sensor& sensor, int group) const;
    // text with its CRC appended when asked for.
    std::string checked(std::string text, bool withCrc) const;
    Reply changeAddress(Sensor& sensor, char newAddress);
    Sensor* sensorAt(char address);

    std::vector<Sensor> sensors_;
    bool corruptCrc_;
};
