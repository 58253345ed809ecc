#pragma once

#include "tools/sim/ExtendedSettings.h"
#include "tools/sim/IdentifyCommand.h"
#include "tools/sim/MeasurementCommand.h"
#include "tools/sim/Reply.h"
#include "tools/sim/TimeScale.h"

#include <chrono>
#include <string>
#include <vector>

// How the sensors on the bus behave as a whole.
struct BusSettings {
    bool corruptCrc = false; // every CRC the sensors send is wrong, as a disturbed line makes it
    TimeScale timeScale{};
};

// One or more SDI-12 sensors sharing a bus: a command text in, the answer of
// the sensor it addresses out. A command for an address that no sensor here
// owns, or one the sensors do not know, gets no answer. Each sensor has an
// identification and measurements of its own.
class SensorModel {
public:
    using Clock = std::chrono::steady_clock;

    // addresses: one character per sensor, all valid and different, in the
    // order of the sensors on the bus.
    explicit SensorModel(const std::string& addresses, BusSettings settings = {});

    static bool isValidAddress(char character);

    // command: the whole command text, address first, ending in "!"; now:
    // when it came.
    Reply respond(const std::string& command, Clock::time_point now);

private:
    struct Sensor {
        char address;
        std::string serialNumber;
        // Where its values are in their slow drift; one step a measurement.
        int reading = 0;
        // The latest measurement's values, one group for each of D0, D1 ...
        std::vector<std::string> data;
        bool dataWithCrc = false;
        ExtendedSettings extended;
        // After an address change it hears nothing until then.
        Clock::time_point deafUntil;
    };

    Reply respondAll(const std::string& body, Clock::time_point now);
    Reply respond(Sensor& sensor, const std::string& body, Clock::time_point now);
    Reply measure(Sensor& sensor, const MeasurementCommand& command);
    Reply identify(const Sensor& sensor, const IdentifyCommand& command) const;
    // The first answer of a measurement of `count` values, "atttn" or "atttnn".
    std::string promise(char address, const MeasurementCommand& command, std::size_t count) const;
    Reply sendData(const Sensor& sensor, int group) const;
    // text with its CRC appended when asked for.
    std::string checked(std::string text, bool withCrc) const;
    Reply changeAddress(Sensor& sensor, char newAddress, Clock::time_point now);
    Sensor* sensorAt(char address);

    std::vector<Sensor> m_sensors;
    BusSettings m_settings;
};
