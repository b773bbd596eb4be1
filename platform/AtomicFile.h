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
void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                           FolderFlush flush = FolderFlush::Now);

// A missing file is fine; other failures throw FileError.
void RemoveFile(const std::filesystem::path& path, FolderFlush flush = FolderFlush::Now);

// Flushes the folder's list of files to disk (on Windows the move already did).
void FlushFolder(const std::filesystem::path& folder);

} // namespace tilava
