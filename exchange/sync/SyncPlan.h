#pragma once

#include "exchange/sync/SyncState.h"

#include <chrono>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tilava {

// An event of the calendar that changed since the last sync, as the server lists it.
struct RemoteChange {
    enum class Kind {
        Entry,   // it reads as an entry: `entry` holds its key
        Foreign, // another event (an appointment, a task), left alone
        Refused, // it reads as an entry that a day file cannot hold: `reason` says why
        Deleted, // the server no longer has it
    };
    std::string href;
    Kind kind = Kind::Deleted;
    std::string etag;
    std::string uid;
    std::optional<EntryKey> entry;
    std::string reason;
    // Where the computer that sent the event had the entry in its day file (0 first), when
    // the event says so; -1 otherwise.
    int position = -1;
};

// A state line to set (or to forget: nothing) once the step that needs it is done.
using StateUpdate = std::pair<std::string, std::optional<KnownEvent>>;

// An entry to add to or remove from its day file (every copy of it, when removed).
struct LocalChange {
    bool add = false;
    EntryKey key;
    std::vector<StateUpdate> done;
};

// A server event to delete, on condition that it is still the one the state knows.
struct RemoteDelete {
    std::string href;
    std::string etag;
};

// What one sync does, decided from the state of the last sync, the entries of the day files and
// the server's changes, without touching either side. Nothing that changed on one side is lost:
// a change of the server wins over a deletion in the notes, and an entry changed on both sides
// keeps both versions. Every step can be repeated after a sync that was cut short: an entry
// that the server already has (an upload whose state line was lost) or an event the notes
// already have (an addition whose state line was lost) is joined, not doubled.
struct SyncPlan {
    // Learned at once: etags of events whose entry did not change, events both sides have.
    std::vector<StateUpdate> settled;
    // Removals come before additions.
    std::vector<LocalChange> localChanges;
    // New events for entries the server does not have (If-None-Match: *); the entry as the day
    // file has it, untrimmed, for its UID.
    std::vector<std::pair<EntryKey, TNote>> uploads;
    std::vector<RemoteDelete> deletes;
    // Slovak lines for the report.
    std::vector<std::string> conflicts;
    std::vector<std::string> refused;
    // Removals from the day files left out of localChanges until the user agrees (too many at
    // once, see ManyRemovals); their state lines stay, and `complete` is false, so that they
    // come again at the next sync.
    int withheld = 0;
    // False when changes of the server touch days whose file could not be read: they stay
    // undone, so the server's old token must be kept to list them again next time.
    bool complete = true;
};

// Whether removing `removals` of the `entries` entries of the day files at once is too many to
// do without the user's word: more than half of them (at least 2), or more than 10 % of them
// when that is more than 5 entries.
bool ManyRemovals(std::size_t removals, std::size_t entries);

// `local`: the entries of the day files that can be events, by key (the first of identical
// ones, which share one event); `unreadDays`: days whose file could not be read, whose entries
// are taken as untouched. Removals that are ManyRemovals are withheld unless
// `allowManyRemovals`. An event that changed on the server only in its etag (its entry is the
// one the state knows) is no change. A never-synced entry whose event UID the server holds
// with another text is a conflict: both versions stay.
SyncPlan PlanSync(const SyncState& state, const std::map<EntryKey, TNote>& local,
                  const std::set<std::chrono::month_day>& unreadDays,
                  const std::vector<RemoteChange>& changes, bool allowManyRemovals = false);

// "„Jano – narodeniny“ (15. 3.)": how the report names an entry.
std::string EntryTitle(const EntryKey& key);

} // namespace tilava
