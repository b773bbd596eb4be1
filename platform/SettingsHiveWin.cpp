#include "platform/SettingsHive.h"

#include "platform/WindowsRegistryHive.h"

namespace tilava {

std::unique_ptr<SettingsHive> CreateUserSettingsHive() {
    return std::make_unique<WindowsRegistryHive>();
}

} // namespace tilava
