#pragma once

#include "exchange/sync/EntryKey.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tilava {

// A state file that cannot be trusted (damaged, too large, unreadable) or cannot be written.
// The message is Slovak, for the user: which file, why, and that nothing was synced.
class SyncStateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An event of the server as the last sync left it on both sides.
struct KnownEvent {
    std::string etag;
    std::string uid;               // empty for a foreign event
    std::optional<EntryKey> entry; // nothing: an event that is not an entry, left alone

    friend bool operator==(const KnownEvent&, const KnownEvent&) = default;
};

// What this computer knows of the calendar on the server: which events were synced with which
// entries, and the server's change token. Kept in kSyncStateName in SyncStateFolder(), never
// in the notes folder (the state belongs to one computer).
//
// The file is UTF-8 text with LF line ends, fields separated by tabs, a tab, a line feed, a
// carriage return and a backslash inside a field written \t \n \r \\:
//   tilava-sync 1
//   calendar <URL>
//   user <name>
//   token <sync token, empty before the first sync>
//   entry <href> <etag> <uid> <MMDD> <kind 0 note, 1 birthday, 2 anniversary> <year> <text>
//   foreign <href> <etag>
struct SyncState {
    std::string calendarUrl;
    std::string user;
    std::string token;
    std::map<std::string, KnownEvent> events; // by href, as the server writes it

    friend bool operator==(const SyncState&, const SyncState&) = default;
};

inline constexpr const char* kSyncStateName = "sync-state.txt";
// Both reading and writing refuse a longer state (5,000 entries take about 1 MB).
inline constexpr std::uint64_t kLargestSyncState = std::uint64_t{64} << 20;

std::string SyncStateText(const SyncState& state);

// Reads the text of the state file `file` (named in messages). Throws SyncStateError for
// anything but a whole, well-formed state.
SyncState ReadSyncStateText(std::string_view text, const std::filesystem::path& file);

// The state kept for the calendar and user. A missing file, or one kept for another calendar
// or user (the settings changed), gives an empty state: the next sync is a first sync, which
// joins identical entries and events instead of doubling them. Throws SyncStateError for a
// damaged, oversized or unreadable file.
SyncState LoadSyncState(const std::filesystem::path& file, const std::string& calendarUrl,
                        const std::string& user);

// Replaces the state file atomically. Throws SyncStateError (the old file stays whole).
void SaveSyncState(const std::filesystem::path& file, const SyncState& state);

} // namespace tilava
