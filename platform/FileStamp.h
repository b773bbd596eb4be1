#pragma once

#include <cstdint>
#include <filesystem>

namespace tilava {

// What tells one version of a file from another without reading it: its size, its times and
// its identity on the disk (an atomic replace gives the file a new one). Links are followed.
struct FileStamp {
    bool known = false; // false when the file could not be looked at; such a stamp matches none
    bool exists = false;
    std::uint64_t size = 0;
    std::uint64_t volume = 0;
    std::uint64_t identity = 0;
    std::int64_t modified = 0; // in the system's own units
    std::int64_t changed = 0;
    // Changed moments ago: another change within the file system's clock tick could leave every
    // field as it is, so such a stamp matches none either.
    bool settling = false;

    // True only when both are known and describe the same version of the file.
    bool SameVersion(const FileStamp& other) const {
        return known && other.known && !settling && !other.settling && exists == other.exists &&
               size == other.size && volume == other.volume && identity == other.identity &&
               modified == other.modified && changed == other.changed;
    }
};

// One cheap look at the file (stat, or the file's information by handle on Windows).
FileStamp StampOf(const std::filesystem::path& file);

} // namespace tilava
