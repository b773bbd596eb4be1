#pragma once

#include "platform/ExportTarget.h"
#include "store/SyncSettings.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace tilava {

// The outcome of an export or an import: whether everything went well, and the report for
// the user (Slovak, one item a line).
struct ExchangeResult {
    bool success = false;
    std::string message;
    // The work succeeded, but the report holds what the user must read: an entry changed on
    // both sides, an event the notes cannot hold.
    bool remarks = false;
    // The sync withheld this many removals of entries from the day files until the user
    // agrees (SyncRequest::allowManyRemovals); none were removed.
    int withheldRemovals = 0;
};

// The calendar export and the contact import of the notes in `folder`, shared by the tray
// menu and the command line. An existing file is replaced as `existing` allows.
ExchangeResult ExportCalendarFile(const std::filesystem::path& folder,
                                  const std::filesystem::path& subor, ExistingExport existing);
ExchangeResult ImportContactsFile(const std::filesystem::path& folder,
                                  const std::filesystem::path& subor);

// The export with its events stamped `now`, as this build reaches the iCalendar writer (linked
// in, loaded as a module, or missing: CalendarExport{Linked,Loaded,Missing}.cpp).
ExchangeResult ExportCalendarStamped(const std::filesystem::path& folder,
                                     const std::filesystem::path& subor,
                                     std::chrono::sys_seconds now, ExistingExport existing);

// What the caller of a sync asks of it besides the settings.
struct SyncRequest {
    // The user agreed that this sync may remove many entries from the day files at once (a
    // sync that would remove all of them, or more than a small share, removes none without it).
    bool allowManyRemovals = false;
    // Called on the sync's thread as the work goes on: steps done of the steps planned.
    std::function<void(int done, int total)> progress;
};

// The two-way sync of the notes in `folder` with the calendar of `settings`, the password taken
// from the desktop's secret store, the state kept in SyncStateFolder(); as this build reaches the
// sync (linked in, loaded as a module, or missing: CalendarSync{Linked,Loaded,Missing}.cpp).
// One sync runs at a time on a computer; a second one waits for it or says that it runs. The
// report is Slovak; a conflict (an entry changed on both sides) keeps both and is named there.
ExchangeResult SyncCalendar(const std::filesystem::path& folder, const SyncSettings& settings,
                            const SyncRequest& request = {});

// Keeps `password` in the desktop's secret store for the user and calendar of `settings`; an
// empty password forgets the one kept. The report says what happened, in Slovak.
ExchangeResult KeepSyncPassword(const SyncSettings& settings, const std::string& password);

} // namespace tilava
