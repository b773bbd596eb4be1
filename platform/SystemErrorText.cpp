#include "platform/SystemErrorText.h"

namespace tilava {

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace tilava
