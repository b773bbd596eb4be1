#include "platform/SettingsHive.h"

#include "platform/FileHive.h"
#include "platform/XdgFolders.h"

namespace tilava {

std::unique_ptr<SettingsHive> CreateUserSettingsHive() {
    return std::make_unique<FileHive>(XdgConfigHome());
}

std::optional<std::filesystem::path> UserSettingsFolder() {
    return FileHive(XdgConfigHome()).SettingsFile().parent_path();
}

} // namespace tilava
