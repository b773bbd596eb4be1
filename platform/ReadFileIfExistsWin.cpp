#include "platform/ReadFileIfExists.h"

#include "platform/AtomicFile.h"
#include "platform/SystemErrorText.h"

#include <windows.h>

namespace tilava {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, DWORD error) {
    throw FileError(path,
                    "Súbor „" + PathText(path) + "“ sa nedá prečítať: " + SystemErrorText(error));
}

} // namespace

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        Fail(path, ERROR_DIRECTORY);
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return std::nullopt;
        }
        Fail(path, error);
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &read, nullptr)) {
            const DWORD error = GetLastError();
            CloseHandle(file);
            Fail(path, error);
        }
        if (read == 0) {
            break;
        }
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

} // namespace tilava
