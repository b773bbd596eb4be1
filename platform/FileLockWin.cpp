#include "platform/FileLock.h"

#include "platform/SystemErrorText.h"

#include <algorithm>
#include <thread>

#include <windows.h>

namespace tilava {

namespace {

// The folder cannot hold a new file: it is missing, is no folder, or may not be written.
bool FolderRefusesNewFile(DWORD error) {
    return error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND ||
           error == ERROR_DIRECTORY || error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

[[noreturn]] void Fail(const std::filesystem::path& file, std::string reason) {
    throw FileLockError(FileLockError::Kind::Failed, file, std::move(reason));
}

} // namespace

FileLock::FileLock(const std::filesystem::path& file, std::chrono::milliseconds wait) {
    // A reparse point (a link) is opened as itself, so that it can be refused. The handle is
    // not inherited by programs we start.
    HANDLE handle = CreateFileW(
        file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (FolderRefusesNewFile(error) &&
            GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return; // nothing there, and nothing can be created there
        }
        Fail(file, "súbor zámku sa nedá otvoriť: " + SystemErrorText(error));
    }
    handle_ = handle;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        CloseHandle(handle);
        handle_ = nullptr;
        Fail(file, "na mieste súboru zámku je niečo iné ako obyčajný súbor");
    }

    // Waiting with a limit would need overlapped handles: try again with growing pauses.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::chrono::microseconds pause{200};
    for (;;) {
        OVERLAPPED start{};
        if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                       &start)) {
            return;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
            CloseHandle(handle);
            handle_ = nullptr;
            Fail(file, "zámok sa nedá získať: " + SystemErrorText(error));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            CloseHandle(handle);
            handle_ = nullptr;
            throw FileLockError(
                FileLockError::Kind::Busy, file,
                "zámok drží iný program dlhšie ako " +
                    std::to_string(std::chrono::ceil<std::chrono::seconds>(wait).count()) + " s");
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds{10'000});
    }
}

FileLock::~FileLock() {
    if (handle_ != nullptr) {
        OVERLAPPED start{};
        UnlockFileEx(handle_, 0, 1, 0, &start);
        CloseHandle(handle_);
    }
}

bool FileLock::Held() const {
    return handle_ != nullptr;
}

} // namespace tilava
