#pragma once

#include <string>

// What the simulated sensors say about themselves.
namespace SimIdentity {
// Identification fields of fixed width: vendor 8, model 6, version 3.
inline constexpr char kVendor[] = "QUENVREL";
inline constexpr char kModel[] = "PRBSIM";
inline constexpr char kVersion[] = "100";
// The extended identification of the sensor family.
inline constexpr char kFamilyTag[] = "KV";
inline constexpr char kFirmware[] = "KV-SIM 2.31";
inline constexpr char kModelName[] = "KV-SIM";

// Each sensor on the bus has a serial number of its own, counted from
// SIM0001 in the order the sensors were given.
inline std::string serialNumber(int position) {
    const std::string number = std::to_string(position + 1);
    return "SIM" + std::string(number.size() < 4 ? 4 - number.size() : 0, '0') + number;
}
} // namespace SimIdentity
