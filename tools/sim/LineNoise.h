#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

// A flaky line between the sensors and the recorder: it loses an answer, or
// damages one of its characters, at random with the chances given, so that
// a recorder's retries can be tried. The same seed gives the same run.
class LineNoise {
public:
    // Chances from 0 (never) to 1 (always).
    LineNoise(double dropChance, double garbleChance, std::uint32_t seed);

    // The answer (without its CR LF) as the line lets it through: whole, with
    // one character damaged, or nothing at all.
    std::optional<std::string> pass(std::string answer);

private:
    bool happens(double chance);

    double m_dropChance;
    double m_garbleChance;
    // Its draws are fixed by the C++ standard for a seed, unlike those of
    // the standard distributions, so a run repeats on any system.
    std::mt19937 m_draws;
};
