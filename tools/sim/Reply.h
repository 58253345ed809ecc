#pragma once

#include <optional>
#include <string>
#include <utility>

// A setting that a command wrote.
struct SettingChange {
    std::string base;
    std::string value;
};

// What a sensor does with one command.
struct Reply {
    std::optional<std::string> answer; // without the closing CR LF; none: silence
    std::optional<SettingChange> change;
};

// A reply that only answers.
inline Reply answering(std::string answer) {
    return Reply{std::move(answer), std::nullopt};
}
