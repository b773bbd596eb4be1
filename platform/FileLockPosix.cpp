#include "platform/FileLock.h"

#include "platform/SystemErrorText.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace tilava {

namespace {

// The folder cannot hold a new file: it is missing, is no folder, or may not be written.
bool FolderRefusesNewFile(int error) {
    return error == ENOENT || error == ENOTDIR || error == EACCES || error == EPERM ||
           error == EROFS;
}

[[noreturn]] void Fail(const std::filesystem::path& file, std::string reason) {
    throw FileLockError(FileLockError::Kind::Failed, file, std::move(reason));
}

} // namespace

FileLock::FileLock(const std::filesystem::path& file, std::chrono::milliseconds wait) {
    // Not inherited by programs we start, so the lock ends with this process. O_NONBLOCK keeps
    // a named pipe planted in its place from stopping the open; flock needs no write access.
    const int fd =
        ::open(file.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        if (error == ELOOP) {
            Fail(file, "na mieste súboru zámku je symbolický odkaz");
        }
        if (FolderRefusesNewFile(error) && ::lstat(file.c_str(), &info) != 0) {
            return; // nothing there, and nothing can be created there
        }
        Fail(file, "súbor zámku sa nedá otvoriť: " + ErrnoText(error));
    }
    fd_ = fd;
    struct stat info {};
    if (::fstat(fd_, &info) != 0) {
        const int error = errno;
        ::close(fd_);
        Fail(file, "súbor zámku sa nedá preskúmať: " + ErrnoText(error));
    }
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd_);
        Fail(file, S_ISREG(info.st_mode)
                       ? "súbor zámku patrí inému používateľovi"
                       : "na mieste súboru zámku je niečo iné ako obyčajný súbor");
    }

    // flock() cannot wait for a limited time: try again with growing pauses up to 10 ms.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::chrono::microseconds pause{200};
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR) {
            continue;
        }
        if (error != EWOULDBLOCK) {
            ::close(fd_);
            Fail(file, "zámok sa nedá získať: " + ErrnoText(error));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            ::close(fd_);
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
    if (fd_ >= 0) {
        ::close(fd_); // releases the lock
    }
}

bool FileLock::Held() const {
    return fd_ >= 0;
}

} // namespace tilava
