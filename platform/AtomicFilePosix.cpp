#include "platform/AtomicFile.h"

#include "platform/SystemErrorText.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tilava {

namespace {

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& reason) {
    throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zapísať: " + reason);
}

constexpr const char* kReadOnly = "súbor je len na čítanie";

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

void FlushFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           FolderFlush flush) {
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        Fail(path, SystemErrorText(EISDIR));
    }
    // A file the user made read-only is not replaced behind their back, as on Windows.
    if (exists && (old.st_mode & S_IWUSR) == 0) {
        Fail(path, kReadOnly);
    }

    const std::filesystem::path folder = path.parent_path();
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        Fail(path, SystemErrorText(static_cast<unsigned long>(errno)));
    }
    const std::filesystem::path temporary = pattern;

    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        Fail(path, SystemErrorText(static_cast<unsigned long>(error)));
    };

    // A replaced file keeps its permissions; a new one gets the usual ones.
    if (::fchmod(fd, exists ? (old.st_mode & 07777) : NewFileMode()) != 0) {
        abandon(errno);
    }
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            abandon(errno);
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    if (::fsync(fd) != 0) {
        abandon(errno);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, SystemErrorText(static_cast<unsigned long>(error)));
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, SystemErrorText(static_cast<unsigned long>(error)));
    }
    if (flush == FolderFlush::Now) {
        FlushFolder(folder);
    }
}

void RemoveFile(const std::filesystem::path& path, FolderFlush flush) {
    struct stat old {};
    if (::lstat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode) && (old.st_mode & S_IWUSR) == 0) {
        throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zmazať: " + kReadOnly);
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        const int error = errno;
        throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zmazať: " +
                                  SystemErrorText(static_cast<unsigned long>(error)));
    }
    if (flush == FolderFlush::Now) {
        FlushFolder(path.parent_path());
    }
}

} // namespace tilava
