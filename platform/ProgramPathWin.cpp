#include "platform/ProgramPath.h"

#include <windows.h>

#include <string>

namespace tilava {

std::filesystem::path ProgramPath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        // Truncated: the path is longer than MAX_PATH (long path support).
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace tilava
