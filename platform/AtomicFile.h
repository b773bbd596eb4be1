#pragma once

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace tilava {

// A file that could not be written, replaced or removed; what() says which file and why, in
// Slovak.
class FileError : public std::runtime_error {
public:
    FileError(std::filesystem::path file, const std::string& message)
        : std::runtime_error(message), path(std::move(file)) {}
    std::filesystem::path path;
};

// After a rename or a removal the folder itself is flushed, so the change survives a power
// cut. Several files of one folder saved together can leave that to one FlushFolder call
// after the last of them (FolderFlush::Later).
enum class FolderFlush { Now, Later };

// Which symbolic links a save follows.
enum class LinkRule {
    // Every link, to the file it finally leads to: users link day files and settings into
    // synced folders.
    FollowAll,
    // A path the user named (an export), which may lie in a folder others can write, such as
    // /tmp: a link is followed only when it belongs to the user (or to root) and lies in a
    // folder that nobody else can change: one owned by the user or root that others cannot
    // write, or a sticky one, where others cannot swap a link they do not own. This is stricter
    // than the kernel's rule for sticky folders, which also trusts a link that belongs to the
    // folder's owner; a save that resolves links itself never meets the kernel's rule at all.
    // On Windows every link is followed (no folder there is shared by users as /tmp is).
    FollowTrusted,
    // The path itself is replaced: a link there becomes a plain file, nothing is written
    // through it (for a file the program owns and writes whole, such as the help document).
    ReplaceLink,
};

// The permissions of a replaced file: kept as they were, or (for an export, whose old file
// may have been made by someone else) the old ones without what the umask takes away and
// without set-id bits. A new file always gets 0666 without the umask.
enum class ModeRule { KeepOld, WithinUmask };

struct SaveRules {
    LinkRule links = LinkRule::FollowAll;
    ModeRule mode = ModeRule::KeepOld;
};

// Writes bytes to a temporary file in the same folder, flushes it to disk and renames it over
// `path` (MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH on Windows).
// Throws FileError on failure; the old file stays whole and no temporary file is left behind.
// When `path` is a symbolic link (or a chain of them) that `rules` lets it follow, the file it
// finally leads to is replaced in its own folder and the link stays; a link that leads to
// nothing is refused, and so is one that `rules` does not let it follow.
void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           FolderFlush flush = FolderFlush::Now, SaveRules rules = {});

// The file a save of `path` would replace under `links`: where its links lead, or `path`.
// Throws FileError (Slovak, naming `path`) for a link that `links` does not let a save follow.
std::filesystem::path SaveTarget(const std::filesystem::path& path, LinkRule links);

// A missing file is fine; other failures throw FileError. A symbolic link is removed together
// with the file it leads to (on Linux with every link of a chain), so nothing is left leading
// to nothing and the removal reaches the linked copy.
void RemoveFile(const std::filesystem::path& path, FolderFlush flush = FolderFlush::Now);

// Removes the temporary files that saves into `folder` (and into the folders its links lead
// to) left when they were cut short (the program was killed, the power failed). A file goes
// only when it is certainly such a left-over: a regular file whose name only a save of this
// program makes (".NAME.tilava-XXXXXX.tmp", on Windows ".NAME.tilava-<process>-<count>.tmp"),
// unchanged for more than kStaleAfter, and not held by a save that is running (on Linux a save
// holds a lock on its temporary file while it writes it; on Windows a temporary file open for
// writing cannot be deleted). Anything else a user keeps there stays, such as
// ".0305.txt.backup"; so do the temporaries of older versions, whose names a user's own hidden
// files could have. Errors are ignored.
inline constexpr std::chrono::minutes kStaleAfter{10};
void RemoveStaleTemporaries(const std::filesystem::path& folder) noexcept;

// Flushes the folder's list of files to disk (on Windows the move already did).
void FlushFolder(const std::filesystem::path& folder);

} // namespace tilava
