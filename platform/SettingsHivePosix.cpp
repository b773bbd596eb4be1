#include "platform/SettingsHive.h"

#include "platform/FileHive.h"
#include "platform/XdgFolders.h"

namespace tilava {

std::unique_ptr<SettingsHive> CreateUserSettingsHive() {
    return std::make_unique<FileHive>(XdgConfigHome());
}

} // namespace tilava
