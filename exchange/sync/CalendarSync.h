#pragma once

#include "platform/net/HttpClient.h"
#include "store/SyncSettings.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tilava {

// What a sync did, for the report. The texts are Slovak, for the user.
struct SyncReport {
    std::string calendarUrl;
    int added = 0;    // entries added to the day files from the server
    int removed = 0;  // entries removed from the day files, deleted on the server
    int uploaded = 0; // events made on the server
    int deleted = 0;  // events deleted on the server
    int waiting = 0;  // changes left for the next sync (the server's event changed meanwhile)
    int withheld = 0; // removals from the day files that wait for the user's agreement
    std::vector<std::string> conflicts;
    std::vector<std::string> refused;  // events of the server the day files cannot hold
    std::vector<std::string> notices;  // days joined with another program's changes
    std::vector<std::string> failures; // whatever stopped a part of the sync

    bool Succeeded() const { return failures.empty(); }
    std::string Text() const;
};

struct SyncOptions {
    // The stamp of the events sent.
    std::chrono::sys_seconds now =
        std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    // How long a sync waits for another sync of this computer to end.
    std::chrono::milliseconds lockWait{2'000};
    // The state is saved after this many steps (and at the end), so that a sync cut short
    // does not begin again from nothing.
    int saveEvery = 100;
    // How many events one calendar-multiget asks for.
    int fetchBatch = 100;
    // Called after each step (an entry added or removed, an event sent or deleted) with the
    // count of steps done; a test throws from it to cut the sync short.
    std::function<void(int)> afterStep;
    // The user agreed that this sync may remove many entries from the day files at once.
    bool allowManyRemovals = false;
    // Called as the work goes on: steps done of the steps planned.
    std::function<void(int done, int total)> progress;
};

// The two-way sync of the notes in `notesFolder` with the calendar of `settings` through
// `client` (which carries the account's password), its state kept in `stateFolder`. One sync
// runs at a time on a computer (a lock file in `stateFolder`). Entries and events move as
// PlanSync decides: the day files change through the notes store (the notes lock and its join
// with another program's save), the server's events only on condition that they are still as
// last seen (If-Match, If-None-Match: *); one that changed meanwhile waits for the next sync.
// A wrong password, a server that cannot be reached or refuses: said in the report, and when
// that happens at the first request, nothing changed on either side. A day file that cannot
// be read is reported, and its entries are taken as untouched.
SyncReport RunCalendarSync(const std::filesystem::path& notesFolder,
                           const std::filesystem::path& stateFolder, const SyncSettings& settings,
                           HttpClient& client, const SyncOptions& options = {});

} // namespace tilava
