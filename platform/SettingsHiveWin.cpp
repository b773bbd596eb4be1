#include "platform/SettingsHive.h"

#include "platform/WindowsRegistryHive.h"

namespace tilava {

std::unique_ptr<SettingsHive> CreateUserSettingsHive() {
    return std::make_unique<WindowsRegistryHive>();
}

std::optional<std::filesystem::path> UserSettingsFolder() {
    return std::nullopt;
}

} // namespace tilava
