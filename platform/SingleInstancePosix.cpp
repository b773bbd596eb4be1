#include "platform/SingleInstance.h"

#include "platform/XdgFolders.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tilava {

namespace {

std::filesystem::path LockFile(const std::string& name) {
    std::string file;
    for (const char c : name) {
        file += c == '/' ? '_' : c;
    }
    std::filesystem::path folder = XdgRuntimeDir();
    if (folder.empty()) {
        // A shared folder: the user id keeps users apart.
        std::error_code error;
        folder = std::filesystem::temp_directory_path(error);
        if (error) {
            folder = "/tmp";
        }
        file += "-" + std::to_string(::getuid());
    }
    return folder / (file + ".lock");
}

} // namespace

SingleInstance::SingleInstance(const std::string& name) {
    // Not inherited by programs we start (a web browser), so the lock ends with this process.
    fd_ = ::open(LockFile(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        // Without a lock file no second copy can be told apart; running beats not starting.
        first_ = true;
        return;
    }
    first_ = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

} // namespace tilava
