#include "tools/sim/DeviceLink.h"

#include <cerrno>
#include <climits>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

DeviceLink::~DeviceLink() {
    if (path_.empty())
        return;
    char pointsTo[PATH_MAX];
    const ssize_t length = ::readlink(path_.c_str(), pointsTo, sizeof pointsTo);
    if (length >= 0 && std::string(pointsTo, static_cast<std::size_t>(length)) == target_)
        ::unlink(path_.c_str());
}

bool DeviceLink::create(const std::string& path, const std::string& target, std::string& error) {
    struct stat existing {};
    if (::lstat(path.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = path + " exists and is not a symbolic link";
        return false;
    }
    // A fresh link renamed over the old one, so the path is never missing.
    const std::string fresh = path + ".new" + std::to_string(::getpid());
    if (::symlink(target.c_str(), fresh.c_str()) != 0) {
        error = fresh + ": " + std::strerror(errno);
        return false;
    }
    if (::rename(fresh.c_str(), path.c_str()) != 0) {
        error = path + ": " + std::strerror(errno);
        ::unlink(fresh.c_str());
        return false;
    }
    path_ = path;
    target_ = target;
    return true;
}
