#pragma once

#include "platform/AtomicFile.h"

#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

namespace tilava {

// A file larger than the reader accepts; nothing of it was kept in memory.
class FileTooLarge : public FileError {
public:
    FileTooLarge(std::filesystem::path file, const std::string& message, std::uint64_t bytes)
        : FileError(std::move(file), message), size(bytes) {}
    std::uint64_t size; // bytes, as far as they were seen
};

// The whole file as bytes, or nothing when it does not exist. Any other failure (no access, a
// folder in its place) throws FileError naming the file and the reason in Slovak. A file of
// more than `limit` bytes throws FileTooLarge, checked before reading and while reading (the
// file may grow meanwhile).
std::optional<std::string>
ReadFileIfExists(const std::filesystem::path& path,
                 std::uint64_t limit = std::numeric_limits<std::uint64_t>::max());

} // namespace tilava
