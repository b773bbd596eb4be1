#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tilava::test {

// The day that racing saves write: 5 March.
extern const std::chrono::year_month_day kRaceDay;

// Adds the notes "<side> 0", "<side> 1", ... to the race day, each through a store of its own
// that loads the day, adds one note and saves, the way a window or an import does. Every save
// pauses `pause` while it holds the folder's lock, between rereading the day file and replacing
// it, so that other saves run into that window. Throws what a save throws.
void AddNotesOneByOne(const std::filesystem::path& folder, const std::string& side, int rounds,
                      std::chrono::milliseconds pause);

// What the race day's file on disk lacks of the notes that `sides` added in `rounds` rounds,
// and the notes it holds more than once or that nobody added; empty when it holds each once.
std::vector<std::string> RaceDayFaults(const std::filesystem::path& folder,
                                       const std::vector<std::string>& sides, int rounds);

} // namespace tilava::test
