#include "platform/XdgFolders.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace tilava {

namespace {

std::filesystem::path AbsoluteFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        return {};
    }
    std::filesystem::path path(value);
    return path.is_absolute() ? path : std::filesystem::path();
}

std::filesystem::path Home() {
    if (auto home = AbsoluteFromEnvironment("HOME"); !home.empty()) {
        return home;
    }
    if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
        return user->pw_dir;
    }
    return std::filesystem::temp_directory_path();
}

} // namespace

std::filesystem::path XdgConfigHome() {
    auto path = AbsoluteFromEnvironment("XDG_CONFIG_HOME");
    return path.empty() ? Home() / ".config" : path;
}

std::filesystem::path XdgDataHome() {
    auto path = AbsoluteFromEnvironment("XDG_DATA_HOME");
    return path.empty() ? Home() / ".local" / "share" : path;
}

std::filesystem::path XdgStateHome() {
    auto path = AbsoluteFromEnvironment("XDG_STATE_HOME");
    return path.empty() ? Home() / ".local" / "state" : path;
}

std::filesystem::path XdgRuntimeDir() {
    return AbsoluteFromEnvironment("XDG_RUNTIME_DIR");
}

} // namespace tilava
