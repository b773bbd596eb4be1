#include "platform/AtomicFile.h"

#include "platform/SystemErrorText.h"

#include <windows.h>

#include <atomic>

namespace tilava {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& reason) {
    throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zapísať: " + reason);
}

[[noreturn]] void Fail(const std::filesystem::path& path, DWORD error) {
    Fail(path, SystemErrorText(error));
}

constexpr const char* kReadOnly = "súbor je len na čítanie";

std::filesystem::path TemporaryName(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
    std::wstring name = path.filename().wstring();
    name +=
        L"." + std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(++counter) + L".tmp";
    return path.parent_path() / name;
}

} // namespace

void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes, FolderFlush) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        Fail(path, ERROR_DIRECTORY);
    }
    // A file the user marked read-only is not replaced (Windows refuses it; Wine would not).
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        Fail(path, std::string(kReadOnly));
    }

    std::filesystem::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(path);
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        Fail(path, GetLastError());
    }

    auto abandon = [&](DWORD error) {
        CloseHandle(file);
        DeleteFileW(temporary.c_str());
        Fail(path, error);
    };

    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const DWORD chunk = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr)) {
            abandon(GetLastError());
        }
        data += written;
        left -= written;
    }
    if (!FlushFileBuffers(file)) {
        abandon(GetLastError());
    }
    CloseHandle(file);
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = GetLastError();
        DeleteFileW(temporary.c_str());
        Fail(path, error);
    }
}

void FlushFolder(const std::filesystem::path&) {}

void RemoveFile(const std::filesystem::path& path, FolderFlush) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zmazať: " + kReadOnly);
    }
    if (!DeleteFileW(path.c_str())) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return;
        }
        throw FileError(path,
                        "Súbor „" + PathText(path) + "“ sa nedá zmazať: " + SystemErrorText(error));
    }
}

} // namespace tilava
