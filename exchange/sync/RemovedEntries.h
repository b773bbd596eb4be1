#pragma once

#include "store/uPoznamky.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tilava {

// Every entry a sync removes from a day file is first written here, in the sync's state folder,
// so that the user can bring it back. The file is UTF-8 text; each entry is one line saying
// when it was removed and from which day, then its four lines as a day file holds them
// (confirmed "-1"/"0", kind + 1, year, text) and an empty line. When the file would grow past
// kLargestRemovedEntries, it becomes kOlderRemovedEntriesName (replacing the older one there)
// and a new one begins: the two together never hold much more than twice that.
inline constexpr const char* kRemovedEntriesName = "odstranene-synchronizaciou.txt";
inline constexpr const char* kOlderRemovedEntriesName = "odstranene-synchronizaciou-starsie.txt";
inline constexpr std::uint64_t kLargestRemovedEntries = std::uint64_t{1} << 20;

struct RemovedEntry {
    std::chrono::month_day date;
    TNote entry;
};

// The records of `entries` removed at `now`.
std::string RemovedEntriesText(const std::vector<RemovedEntry>& entries,
                               std::chrono::sys_seconds now);

// Appends the records to the file in `stateFolder`. Throws FileError (Slovak, naming the file)
// when they cannot be kept; then nothing may be removed.
void KeepRemovedEntries(const std::filesystem::path& stateFolder,
                        const std::vector<RemovedEntry>& entries, std::chrono::sys_seconds now);

} // namespace tilava
