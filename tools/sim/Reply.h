#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>

// A setting that a command wrote.
struct SettingChange {
    std::string base;
    std::string value;
};

// A line the sensor sends by itself after its answer: the service request
// that says a measurement's data are ready.
struct FollowUp {
    std::string line;                // without the closing CR LF
    std::chrono::milliseconds delay; // from the start of the answer
};

// What a sensor does with one command.
struct Reply {
    std::optional<std::string> answer; // without the closing CR LF; none: silence
    std::optional<SettingChange> change;
    std::optional<FollowUp> followUp;
};

// A reply that only answers.
inline Reply answering(std::string answer) {
    return Reply{std::move(answer), std::nullopt, std::nullopt};
}
