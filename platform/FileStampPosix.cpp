#include "platform/FileStamp.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <time.h>

namespace tilava {

namespace {

constexpr std::int64_t kSettlingNanoseconds = 2000000000;

} // namespace

FileStamp StampOf(const std::filesystem::path& file) {
    FileStamp stamp;
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        stamp.known = errno == ENOENT || errno == ENOTDIR;
        return stamp;
    }
    stamp.known = true;
    stamp.exists = true;
    stamp.size = static_cast<std::uint64_t>(info.st_size);
    stamp.volume = static_cast<std::uint64_t>(info.st_dev);
    stamp.identity = static_cast<std::uint64_t>(info.st_ino);
    stamp.modified = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                     static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    stamp.changed = static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 +
                    static_cast<std::int64_t>(info.st_ctim.tv_nsec);
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const std::int64_t newest = std::max(stamp.modified, stamp.changed);
    stamp.settling = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec - newest <
                     kSettlingNanoseconds;
    return stamp;
}

} // namespace tilava
