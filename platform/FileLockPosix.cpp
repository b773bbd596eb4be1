#include "platform/FileLock.h"

#include "platform/SystemErrorText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    handle_ = fd;
    try {
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            const int error = errno;
            Fail(file, "súbor zámku sa nedá preskúmať: " + ErrnoText(error));
        }
        if (!S_ISREG(info.st_mode)) {
            Fail(file, "na mieste súboru zámku je niečo iné ako obyčajný súbor");
        }
        if (info.st_uid != ::geteuid()) {
            Fail(file, "súbor zámku patrí inému používateľovi");
        }
        Poll(file, wait, [&] {
            while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
                const int error = errno;
                if (error == EWOULDBLOCK) {
                    return false;
                }
                if (error != EINTR) {
                    Fail(file, "zámok sa nedá získať: " + ErrnoText(error));
                }
            }
            return true;
        });
    } catch (...) {
        Release();
        throw;
    }
}

void FileLock::Release() noexcept {
    if (handle_ != -1) {
        ::close(static_cast<int>(handle_)); // releases the lock
        handle_ = -1;
    }
}

} // namespace tilava
