#include "platform/SingleInstance.h"

#include "platform/FileLock.h"
#include "platform/SystemErrorText.h"
#include "platform/XdgFolders.h"

#include <cerrno>
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
    try {
        // Not waited for: a copy that holds it runs for as long as it likes.
        lock_ = std::make_unique<FileLock>(file, std::chrono::milliseconds{0});
        if (!lock_->Held()) {
            problem_ = ProblemText("súbor „" + PathText(file) + "“ sa nedá vytvoriť");
        }
    } catch (const FileLockError& e) {
        if (e.kind == FileLockError::Kind::Busy) {
            first_ = false;
        } else {
            problem_ = ProblemText("súbor „" + PathText(file) + "“: " + e.reason);
        }
    }
}

SingleInstance::~SingleInstance() = default;

} // namespace tilava
