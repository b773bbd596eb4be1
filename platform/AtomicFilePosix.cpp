#include "platform/AtomicFile.h"

#include "platform/SystemErrorText.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <vector>

namespace tilava {

namespace {

namespace fs = std::filesystem;

constexpr const char* kReadOnly = "súbor je len na čítanie";

// As the kernel allows when it follows links itself.
constexpr int kMostLinks = 40;

// What a path names once its symbolic links are followed.
struct Target {
    fs::path file;               // the file itself: the final target of the links, or the path
    std::vector<fs::path> links; // the links on the way there, the given path first
    int error = 0;               // errno of a link that cannot be followed
    bool dangling = false;       // the last link leads to nothing
};

// Follows the links of `path` one by one, each relative link from the folder it lies in, so a
// file kept in a synced folder or a repository of settings and linked here is saved there.
Target Follow(const fs::path& path) {
    Target target{path, {}, 0, false};
    for (;;) {
        struct stat info {};
        if (::lstat(target.file.c_str(), &info) != 0) {
            // A missing plain file is no concern here: the save creates it, or reports why not.
            if (!target.links.empty()) {
                target.error = errno;
                target.dangling = errno == ENOENT;
            }
            return target;
        }
        if (!S_ISLNK(info.st_mode)) {
            return target;
        }
        if (target.links.size() == kMostLinks) {
            target.error = ELOOP;
            return target;
        }
        std::string text(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) + 1 : PATH_MAX,
                         '\0');
        const ssize_t length = ::readlink(target.file.c_str(), text.data(), text.size());
        if (length < 0) {
            target.error = errno;
            return target;
        }
        if (static_cast<std::size_t>(length) == text.size()) {
            continue; // the link was changed meanwhile and is longer now: read it again
        }
        text.resize(static_cast<std::size_t>(length));
        const fs::path next(text);
        target.links.push_back(target.file);
        target.file = next.is_absolute() ? next : target.file.parent_path() / next;
    }
}

// The reason, and for a linked file where the link leads, so the user finds the real file.
std::string Reason(const Target& target, const std::string& reason) {
    if (target.links.empty()) {
        return reason;
    }
    return reason + " (odkaz vedie na „" + PathText(target.file) + "“)";
}

// A link that cannot be followed: too many links, or (when `danglingIsError`) a target that is
// missing. Returns the reason, empty when the links are fine.
std::string LinkFailure(const Target& target, bool danglingIsError) {
    if (target.dangling) {
        return danglingIsError
                   ? "symbolický odkaz vedie na „" + PathText(target.file) + "“, ktorý neexistuje"
                   : std::string();
    }
    return target.error != 0 ? SystemErrorText(static_cast<unsigned long>(target.error))
                             : std::string();
}

[[noreturn]] void Fail(const fs::path& path, const std::string& reason) {
    throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zapísať: " + reason);
}

[[noreturn]] void FailRemove(const fs::path& path, const std::string& reason) {
    throw FileError(path, "Súbor „" + PathText(path) + "“ sa nedá zmazať: " + reason);
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The temporary file of a save of "NAME" is ".NAME.XXXXXX" beside it, the last six characters
// chosen by mkstemp from letters and digits.
std::string TemporaryPattern(const fs::path& file) {
    return (file.parent_path() / ("." + file.filename().string() + ".XXXXXX")).string();
}

bool IsTemporaryOf(std::string_view name, std::string_view file) {
    constexpr std::size_t kRandom = 6;
    if (file.empty() || name.size() != 1 + file.size() + 1 + kRandom || name.front() != '.' ||
        name.substr(1, file.size()) != file || name[1 + file.size()] != '.') {
        return false;
    }
    for (const char c : name.substr(name.size() - kRandom)) {
        const bool alphanumeric =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric) {
            return false;
        }
    }
    return true;
}

// Removes, in `folder`, the regular files whose names are temporaries of a save: of `file`
// when it is given, of any name otherwise.
void RemoveTemporaries(const fs::path& folder, std::string_view file) {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        const bool matches =
            file.empty() ? name.size() > 8 && IsTemporaryOf(name, name.substr(1, name.size() - 8))
                         : IsTemporaryOf(name, file);
        if (matches) {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        const fs::path entry = folder / name;
        struct stat info {};
        // Only what a save leaves: never a folder, and never a link or what it leads to.
        if (::lstat(entry.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            ::unlink(entry.c_str());
        }
    }
}

} // namespace

void FlushFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void ReplaceFileAtomically(const fs::path& path, std::string_view bytes, FolderFlush flush) {
    // A linked file is replaced where it really is, so the link stays a link. A link to nothing
    // is refused rather than replaced by a file of its own: the folder it leads to may be a
    // synced one that is not there just now.
    const Target target = Follow(path);
    if (const std::string failure = LinkFailure(target, true); !failure.empty()) {
        Fail(path, failure);
    }
    const fs::path& file = target.file;

    struct stat old {};
    const bool exists = ::stat(file.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        Fail(path, Reason(target, SystemErrorText(EISDIR)));
    }
    // A file the user made read-only is not replaced behind their back, as on Windows.
    if (exists && (old.st_mode & S_IWUSR) == 0) {
        Fail(path, Reason(target, kReadOnly));
    }

    std::string pattern = TemporaryPattern(file);
    const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        Fail(path, Reason(target, SystemErrorText(static_cast<unsigned long>(errno))));
    }
    const fs::path temporary = pattern;

    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        Fail(path, Reason(target, SystemErrorText(static_cast<unsigned long>(error))));
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
        Fail(path, Reason(target, SystemErrorText(static_cast<unsigned long>(error))));
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail(path, Reason(target, SystemErrorText(static_cast<unsigned long>(error))));
    }
    // The folder of a link's target is not the one the caller flushes later.
    if (flush == FolderFlush::Now || !target.links.empty()) {
        FlushFolder(file.parent_path());
    }
}

void RemoveFile(const fs::path& path, FolderFlush flush) {
    // A linked file is removed where it really is, and then the links that led to it, so the
    // removal reaches the synced copy and no link is left leading to nothing. A link whose
    // target is already gone is simply removed.
    const Target target = Follow(path);
    if (const std::string failure = LinkFailure(target, false); !failure.empty()) {
        FailRemove(path, failure);
    }
    struct stat old {};
    if (!target.dangling) {
        if (::lstat(target.file.c_str(), &old) == 0 && S_ISREG(old.st_mode) &&
            (old.st_mode & S_IWUSR) == 0) {
            FailRemove(path, Reason(target, kReadOnly));
        }
        if (::unlink(target.file.c_str()) != 0 && errno != ENOENT) {
            const int error = errno;
            FailRemove(path, Reason(target, SystemErrorText(static_cast<unsigned long>(error))));
        }
    }
    std::set<fs::path> folders;
    for (auto link = target.links.rbegin(); link != target.links.rend(); ++link) {
        if (::unlink(link->c_str()) != 0 && errno != ENOENT) {
            const int error = errno;
            FailRemove(path, "odkaz „" + PathText(*link) + "“ sa nedá zmazať: " +
                                 SystemErrorText(static_cast<unsigned long>(error)));
        }
        folders.insert(link->parent_path());
    }
    if (!target.links.empty()) {
        folders.insert(target.file.parent_path());
        folders.erase(path.parent_path());
        for (const fs::path& folder : folders) {
            FlushFolder(folder);
        }
    }
    if (flush == FolderFlush::Now) {
        FlushFolder(path.parent_path());
    }
}

void RemoveStaleTemporaries(const fs::path& folder) noexcept {
    try {
        RemoveTemporaries(folder, {});
        // A linked file's temporaries lie beside its target.
        DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
        if (dir == nullptr) {
            return;
        }
        std::vector<fs::path> links;
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                links.push_back(folder / entry->d_name);
            }
        }
        ::closedir(dir);
        for (const fs::path& link : links) {
            const Target target = Follow(link);
            struct stat info {};
            if (!target.links.empty() && target.error == 0 &&
                ::stat(target.file.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
                RemoveTemporaries(target.file.parent_path(), target.file.filename().string());
            }
        }
    } catch (...) {
        // Left-overs that cannot go now go at a later start.
    }
}

} // namespace tilava
