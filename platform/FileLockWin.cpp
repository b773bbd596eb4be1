#include "platform/FileLock.h"

#include "platform/SystemErrorText.h"

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
    // not inherited by programs we start. Hidden, as it is no day file.
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
    handle_ = reinterpret_cast<std::intptr_t>(handle);
    try {
        BY_HANDLE_FILE_INFORMATION info{};
        if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info) ||
            (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
                0) {
            Fail(file, "na mieste súboru zámku je niečo iné ako obyčajný súbor");
        }
        Poll(file, wait, [&] {
            OVERLAPPED start{};
            if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                           &start)) {
                return true;
            }
            const DWORD error = GetLastError();
            if (error != ERROR_LOCK_VIOLATION && error != ERROR_IO_PENDING) {
                Fail(file, "zámok sa nedá získať: " + SystemErrorText(error));
            }
            return false;
        });
    } catch (...) {
        Release();
        throw;
    }
}

void FileLock::Release() noexcept {
    if (handle_ != -1) {
        HANDLE handle = reinterpret_cast<HANDLE>(handle_);
        OVERLAPPED start{};
        UnlockFileEx(handle, 0, 1, 0, &start); // fails harmlessly when it was never locked
        CloseHandle(handle);
        handle_ = -1;
    }
}

} // namespace tilava
