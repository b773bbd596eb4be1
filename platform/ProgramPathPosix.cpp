#include "platform/ProgramPath.h"

#include <cstdlib>
#include <system_error>

namespace tilava {

std::filesystem::path ProgramPath() {
    if (const char* appImage = std::getenv("APPIMAGE"); appImage != nullptr && *appImage == '/') {
        return appImage;
    }
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : path;
}

} // namespace tilava
