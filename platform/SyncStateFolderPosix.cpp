#include "platform/SyncStateFolder.h"

#include "platform/SettingsHive.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tilava {

std::optional<std::filesystem::path> SyncStateFolder() {
    const auto folder = UserSettingsFolder();
    if (!folder) {
        return std::nullopt;
    }
    // The configuration folder above it, when a fresh account has none yet, is the user's own
    // as the XDG rules ask.
    std::error_code error;
    const std::filesystem::path configHome = folder->parent_path();
    if (std::filesystem::create_directories(configHome, error)) {
        ::chmod(configHome.c_str(), 0700);
    }
    if (::mkdir(folder->c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    // The state decides which entries the sync adds and deletes: a link, or a folder of another
    // user, in its place (planted where the configuration folder is shared) is not used.
    struct stat info {};
    if (::lstat(folder->c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid()) {
        return std::nullopt;
    }
    return folder;
}

} // namespace tilava
