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

[[noreturn]] void TooLarge(const std::filesystem::path& path, std::uint64_t size) {
    throw FileTooLarge(path, "Súbor „" + PathText(path) + "“ je príliš veľký na čítanie.", size);
}

} // namespace

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& path,
                                            std::uint64_t limit) {
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
    LARGE_INTEGER size{};
    const bool sized = GetFileSizeEx(file, &size) != 0;
    if (sized && static_cast<std::uint64_t>(size.QuadPart) > limit) {
        CloseHandle(file);
        TooLarge(path, static_cast<std::uint64_t>(size.QuadPart));
    }
    std::string bytes;
    // One allocation for the whole file, not one copy after another as it grows.
    if (sized && size.QuadPart > 0) {
        bytes.reserve(static_cast<std::size_t>(size.QuadPart));
    }
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
        if (bytes.size() + std::uint64_t{read} > limit) {
            CloseHandle(file);
            TooLarge(path, bytes.size() + std::uint64_t{read});
        }
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

} // namespace tilava
