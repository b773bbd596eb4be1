#include "platform/AtomicFile.h"

#include "platform/SystemErrorText.h"

#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>

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
    fs::path untrusted;          // a link that the rule does not let a save follow
};

// Whether someone other than this user (and root) could have made or swapped the link
// `info` describes, which lies in `folder`. A group-writable folder counts as the user's own
// when its group is the user's own group (as with a private group per user).
bool IsTrustedLink(const struct stat& info, const fs::path& folder) {
    const uid_t user = ::geteuid();
    if (info.st_uid != user && info.st_uid != 0) {
        return false;
    }
    struct stat place {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &place) != 0) {
        return false;
    }
    if (place.st_uid != user && place.st_uid != 0) {
        return false;
    }
    const bool othersWrite = (place.st_mode & S_IWOTH) != 0 ||
                             ((place.st_mode & S_IWGRP) != 0 && place.st_gid != ::getegid());
    return !othersWrite || (place.st_mode & S_ISVTX) != 0;
}

// Follows the links of `path` one by one, each relative link from the folder it lies in, so a
// file kept in a synced folder or a repository of settings and linked here is saved there.
Target Follow(const fs::path& path, LinkRule rule = LinkRule::FollowAll) {
    Target target{path, {}, 0, false, {}};
    if (rule == LinkRule::ReplaceLink) {
        return target;
    }
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
        if (rule == LinkRule::FollowTrusted && !IsTrustedLink(info, target.file.parent_path())) {
            target.untrusted = target.file;
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
    if (!target.untrusted.empty()) {
        return "symbolický odkaz „" + PathText(target.untrusted) +
               "“ patrí inému používateľovi alebo leží v priečinku, do ktorého môžu zapisovať aj "
               "iní (mohol ho podstrčiť niekto cudzí), preto sa cezeň nezapisuje; súbor, na "
               "ktorý vedie, ostal nezmenený";
    }
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

mode_t Umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// The temporary file of a save of "NAME" is ".NAME.tilava-XXXXXX.tmp" beside it, the six
// characters chosen by mkostemps from letters and digits: a name no user picks for a file of
// their own, so the start-up clean-up can tell it apart.
constexpr std::string_view kTemporaryMark = ".tilava-";
constexpr std::string_view kTemporaryEnd = ".tmp";
constexpr std::size_t kRandom = 6;

std::string TemporaryPattern(const fs::path& file) {
    return (file.parent_path() / ("." + file.filename().string() + std::string(kTemporaryMark) +
                                  "XXXXXX" + std::string(kTemporaryEnd)))
        .string();
}

bool IsTemporaryOf(std::string_view name, std::string_view file) {
    const std::size_t size =
        1 + file.size() + kTemporaryMark.size() + kRandom + kTemporaryEnd.size();
    if (file.empty() || name.size() != size || name.front() != '.' ||
        name.substr(1, file.size()) != file ||
        name.substr(1 + file.size(), kTemporaryMark.size()) != kTemporaryMark ||
        !name.ends_with(kTemporaryEnd)) {
        return false;
    }
    for (const char c : name.substr(1 + file.size() + kTemporaryMark.size(), kRandom)) {
        const bool alphanumeric =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric) {
            return false;
        }
    }
    return true;
}

// Removes the temporary file `entry` when it is an abandoned one: a regular file (never a
// folder, a link or what it leads to), unchanged for kStaleAfter, and not locked by a save
// that is writing it. The lock is held while the name goes, so no save can take it meanwhile.
void RemoveIfAbandoned(const fs::path& entry) {
    const int fd = ::open(entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat info {};
    struct stat named {};
    const auto age = std::chrono::seconds(kStaleAfter);
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        std::time(nullptr) - info.st_mtime > age.count() && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::lstat(entry.c_str(), &named) == 0 && named.st_ino == info.st_ino &&
        named.st_dev == info.st_dev) {
        ::unlink(entry.c_str());
    }
    ::close(fd);
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
        const std::size_t extra = 1 + kTemporaryMark.size() + kRandom + kTemporaryEnd.size();
        const bool matches =
            file.empty()
                ? name.size() > extra && IsTemporaryOf(name, name.substr(1, name.size() - extra))
                : IsTemporaryOf(name, file);
        if (matches) {
            names.emplace_back(name);
        }
    }
    ::closedir(dir);
    for (const std::string& name : names) {
        RemoveIfAbandoned(folder / name);
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

fs::path SaveTarget(const fs::path& path, LinkRule links) {
    const Target target = Follow(path, links);
    if (const std::string failure = LinkFailure(target, false); !failure.empty()) {
        Fail(path, failure);
    }
    return target.file;
}

void ReplaceFileAtomically(const fs::path& path, std::string_view bytes, FolderFlush flush,
                           SaveRules rules) {
    // A linked file is replaced where it really is, so the link stays a link. A link to nothing
    // is refused rather than replaced by a file of its own: the folder it leads to may be a
    // synced one that is not there just now.
    const Target target = Follow(path, rules.links);
    if (const std::string failure = LinkFailure(target, true); !failure.empty()) {
        Fail(path, failure);
    }
    const fs::path& file = target.file;

    struct stat old {};
    const bool exists = rules.links == LinkRule::ReplaceLink
                            ? ::lstat(file.c_str(), &old) == 0 && !S_ISLNK(old.st_mode)
                            : ::stat(file.c_str(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode)) {
        Fail(path, Reason(target, SystemErrorText(EISDIR)));
    }
    // A file the user made read-only is not replaced behind their back, as on Windows.
    if (exists && (old.st_mode & S_IWUSR) == 0) {
        Fail(path, Reason(target, kReadOnly));
    }

    std::string pattern = TemporaryPattern(file);
    const int fd = ::mkostemps(pattern.data(), static_cast<int>(kTemporaryEnd.size()), O_CLOEXEC);
    if (fd < 0) {
        Fail(path, Reason(target, SystemErrorText(static_cast<unsigned long>(errno))));
    }
    // Held until the file is closed: the start-up clean-up of another copy leaves it alone.
    ::flock(fd, LOCK_EX);
    const fs::path temporary = pattern;

    auto abandon = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        Fail(path, Reason(target, SystemErrorText(static_cast<unsigned long>(error))));
    };

    // A replaced file keeps its permissions (or keeps them within the umask); a new one gets
    // the usual ones.
    const mode_t mask = Umask();
    const mode_t mode = !exists                           ? 0666 & ~mask
                        : rules.mode == ModeRule::KeepOld ? old.st_mode & 07777
                                                          : old.st_mode & 0777 & ~mask;
    if (::fchmod(fd, mode) != 0) {
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
