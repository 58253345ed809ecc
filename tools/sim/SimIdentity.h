#pragma once

// What the simulated sensor says about itself.
namespace SimIdentity {
// Identification fields of fixed width: vendor 8, model 6, version 3.
inline constexpr char kVendor[] = "QUENVREL";
inline constexpr char kModel[] = "PRBSIM";
inline constexpr char kVersion[] = "100";
inline constexpr char kSerialNumber[] = "SIM0001";
// The extended identification of the sensor family.
inline constexpr char kFamilyTag[] = "KV";
inline constexpr char kFirmware[] = "KV-SIM 2.31";
inline constexpr char kModelName[] = "KV-SIM";
} // namespace SimIdentity
