#include "platform/NotesFolder.h"

#include "platform/XdgFolders.h"

#include <sys/stat.h>

namespace tilava {

std::filesystem::path DajPriecinok() {
    return XdgDataHome();
}

std::filesystem::path NotesFolder() {
    const std::filesystem::path data = DajPriecinok();
    // Base folders the XDG rules ask to be created are private to the user.
    std::error_code error;
    if (!std::filesystem::exists(data, error)) {
        std::filesystem::create_directories(data, error);
        if (!error) {
            ::chmod(data.c_str(), 0700);
        }
    }
    const std::filesystem::path folder = data / "ZelmTilava";
    std::filesystem::create_directory(folder, error);
    return folder;
}

} // namespace tilava
