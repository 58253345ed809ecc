#pragma once

#include <string>

// A symbolic link to the simulator's device, so that users and scripts can
// name a fixed path. It is removed when this object ends, unless another
// program has pointed it elsewhere in the meantime.
class DeviceLink {
public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Replaces an old link at `path`, but never a file or folder there.
    bool create(const std::string& path, const std::string& target, std::string& error);

private:
    std::string path_;
    std::string target_;
};
