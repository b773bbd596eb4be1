#include "platform/FileStamp.h"

#include <windows.h>

#include <algorithm>

namespace tilava {

namespace {

constexpr std::int64_t kSettlingTicks = 2 * 10000000; // two seconds in 100 ns ticks

std::int64_t Ticks(const FILETIME& time) {
    return static_cast<std::int64_t>((std::uint64_t{time.dwHighDateTime} << 32) |
                                     time.dwLowDateTime);
}

} // namespace

FileStamp StampOf(const std::filesystem::path& file) {
    FileStamp stamp;
    // No access is asked for, so a file that another program holds open can still be looked at.
    HANDLE handle =
        CreateFileW(file.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        stamp.known = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return stamp;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool read = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!read) {
        return stamp;
    }
    stamp.known = true;
    stamp.exists = true;
    stamp.size = (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    stamp.volume = info.dwVolumeSerialNumber;
    stamp.identity = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;
    stamp.modified = Ticks(info.ftLastWriteTime);
    stamp.changed = Ticks(info.ftCreationTime);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    stamp.settling = Ticks(now) - std::max(stamp.modified, stamp.changed) < kSettlingTicks;
    return stamp;
}

} // namespace tilava
