#include "platform/ReadFileIfExists.h"

#include "platform/AtomicFile.h"
#include "platform/SystemErrorText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilava {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, int error) {
    throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá prečítať: " +
                              SystemErrorText(static_cast<unsigned long>(error)));
}

[[noreturn]] void TooLarge(const std::filesystem::path& path, std::uint64_t size) {
    throw FileTooLarge(path, "Súbor „" + PathText(path) + "“ je príliš veľký na čítanie.", size);
}

} // namespace

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& path,
                                            std::uint64_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        Fail(path, errno);
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uint64_t>(info.st_size) > limit) {
        ::close(fd);
        TooLarge(path, static_cast<std::uint64_t>(info.st_size));
    }
    std::string bytes;
    // One allocation for the whole file: a large one (a day file of a megabyte) is not copied
    // again and again as it grows.
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    char buffer[16384];
    for (;;) {
        const ssize_t read = ::read(fd, buffer, sizeof buffer);
        if (read < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int error = errno;
            ::close(fd);
            Fail(path, error);
        }
        if (read == 0) {
            break;
        }
        if (bytes.size() + static_cast<std::uint64_t>(read) > limit) {
            ::close(fd);
            TooLarge(path, bytes.size() + static_cast<std::uint64_t>(read));
        }
        bytes.append(buffer, static_cast<std::size_t>(read));
    }
    ::close(fd);
    return bytes;
}

} // namespace tilava
