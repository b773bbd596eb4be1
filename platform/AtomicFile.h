#pragma once

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
    FileError(std::filesystem::path path, const std::string& sprava)
        : std::runtime_error(sprava), path(std::move(path)) {}
    std::filesystem::path path;
};

// After a rename or a removal the folder itself is flushed, so the change survives a power
// cut. Several files of one folder saved together can leave that to one FlushFolder call
// after the last of them (FolderFlush::Later).
enum class FolderFlush { Now, Later };

// Writes bytes to a temporary file in the same folder, flushes it to disk and renames it over
// `path` (MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH on Windows).
// Throws FileError on failure; the old file stays whole and no temporary file is left behind.
// When `path` is a symbolic link (or a chain of them), the file it finally leads to is replaced
// in its own folder and the link stays; a link that leads to nothing is refused.
void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           FolderFlush flush = FolderFlush::Now);

// A missing file is fine; other failures throw FileError. A symbolic link is removed together
// with the file it leads to (on Linux with every link of a chain), so nothing is left leading
// to nothing and the removal reaches the linked copy.
void RemoveFile(const std::filesystem::path& path, FolderFlush flush = FolderFlush::Now);

// Removes the temporary files that saves into `folder` left when they were cut short (the
// program was killed, the power failed): only regular files named exactly as
// ReplaceFileAtomically names its temporaries, never anything else a user keeps there. Meant
// for start-up, when no save of this program is running. Errors are ignored.
void RemoveStaleTemporaries(const std::filesystem::path& folder) noexcept;

// Flushes the folder's list of files to disk (on Windows the move already did).
void FlushFolder(const std::filesystem::path& folder);

} // namespace tilava
