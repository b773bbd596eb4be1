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

} // namespace

std::optional<std::string> ReadFileIfExists(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) {
            return std::nullopt;
        }
        Fail(path, errno);
    }
    std::string bytes;
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
        bytes.append(buffer, static_cast<std::size_t>(read));
    }
    ::close(fd);
    return bytes;
}

} // namespace tilava
