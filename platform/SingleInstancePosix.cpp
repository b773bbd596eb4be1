#include "platform/SingleInstance.h"

#include "platform/SystemErrorText.h"
#include "platform/XdgFolders.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

namespace tilava {

namespace {

namespace fs = std::filesystem;

std::string ErrorText(int error) {
    return SystemErrorText(static_cast<unsigned long>(error));
}

// Why `folder` may not hold the lock; empty when it is the user's own: a real folder (not a
// link) that belongs to the user and that nobody else can write into. In a folder others can
// write, another user could put a file or a link at the lock's name and keep Tilava from
// starting, or let two copies run.
std::string NotPrivate(const fs::path& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return ErrorText(errno);
    }
    if (!S_ISDIR(info.st_mode)) {
        return "nie je to priečinok";
    }
    if (info.st_uid != ::getuid()) {
        return "priečinok patrí inému používateľovi";
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return "do priečinka môžu zapisovať aj iní používatelia";
    }
    return {};
}

// The runtime folder when it is private; else the program's folder in the user's state folder,
// created for the user alone when it is missing. Empty, with the reason, when neither will do.
fs::path LockFolder(std::string& reason) {
    if (const fs::path runtime = XdgRuntimeDir(); !runtime.empty() && NotPrivate(runtime).empty()) {
        return runtime;
    }
    const fs::path folder = XdgStateHome() / "ZelmTilava";
    std::error_code error;
    fs::create_directories(folder.parent_path(), error);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        reason = "priečinok „" + PathText(folder) + "“ sa nedá vytvoriť: " + ErrorText(errno);
        return {};
    }
    if (const std::string why = NotPrivate(folder); !why.empty()) {
        reason = "priečinok „" + PathText(folder) + "“ sa nedá použiť: " + why;
        return {};
    }
    return folder;
}

std::string LockFileName(const std::string& name) {
    std::string file;
    for (const char c : name) {
        file += c == '/' ? '_' : c;
    }
    return file + ".lock";
}

std::string ProblemText(const std::string& reason) {
    return "Tilava nemôže overiť, či už beží, a preto sa môže spustiť aj druhýkrát: zámok "
           "spustenej kópie sa nedá použiť – " +
           reason + ".";
}

} // namespace

SingleInstance::SingleInstance(const std::string& name) {
    // Without a usable lock no second copy can be told apart; running beats not starting, and
    // the user is told why.
    first_ = true;
    std::string reason;
    const fs::path folder = LockFolder(reason);
    if (folder.empty()) {
        problem_ = ProblemText(reason);
        return;
    }
    const fs::path file = folder / LockFileName(name);
    // Not inherited by programs we start (a web browser), so the lock ends with this process.
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd_ < 0) {
        problem_ =
            ProblemText("súbor „" + PathText(file) + "“ sa nedá otvoriť: " + ErrorText(errno));
        return;
    }
    struct stat info {};
    if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::getuid()) {
        problem_ =
            ProblemText("súbor „" + PathText(file) + "“ nie je obyčajný súbor tohto používateľa");
        ::close(fd_);
        fd_ = -1;
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        return;
    }
    if (errno == EWOULDBLOCK) {
        first_ = false;
        return;
    }
    problem_ = ProblemText("súbor „" + PathText(file) + "“ sa nedá zamknúť: " + ErrorText(errno));
}

SingleInstance::~SingleInstance() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

} // namespace tilava
