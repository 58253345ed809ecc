#pragma once

#include "tools/sim/Reply.h"

#include <map>
#include <string>

// The extended "X" commands of the sensor family: identification reads and
// settings kept in memory from their defaults. A setting is read with its
// base followed by "?" and written with its base followed by the value; both
// answer the base and the stored value, a malformed write answers "ERR".
class ExtendedSettings {
public:
    explicit ExtendedSettings(std::string serialNumber);

    // address: the sensor's own; body: the command between address and "!".
    Reply respond(char address, const std::string& body);

private:
    std::string m_serialNumber;
    std::map<std::string, std::string> m_values;
};
