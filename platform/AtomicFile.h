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

// Writes bytes to a temporary file in the same folder, flushes it to disk and renames it over
// `path` (MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH on Windows).
// Throws FileError on failure; the old file stays whole and no temporary file is left behind.
void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// A missing file is fine; other failures throw FileError.
void RemoveFile(const std::filesystem::path& path);

} // namespace tilava
