#pragma once

#include "exchange/CalendarExchange.h"
#include "store/SyncSettings.h"

#include <filesystem>
#include <string>

namespace tilava {

// Setting the sync up as the settings dialog does it, with this system's HTTP client and the
// desktop's secret store (see FindSyncCalendars, MakeSyncCalendar, KeptSyncPassword and
// ForgetSyncListing in exchange/CalendarExchange.h).
SyncCalendarsFound FindCalendarsOnDesktop(const std::string& address, const std::string& user,
                                          const std::string& password, const SyncSettings& kept);
SyncCalendarsFound MakeCalendarOnDesktop(const std::string& homeUrl, const std::string& user,
                                         const std::string& password, const SyncSettings& kept);
bool KeptPasswordOnDesktop(const SyncSettings& from, const SyncSettings* to, bool& kept,
                           std::string& message);
bool ForgetListingOnDesktop(std::string& message);

// The state file `file` forgets its change token and the events that are no entry, so that the
// next sync lists everything and reads those events again; the entries' events stay as they
// were. A missing file stays missing. Throws SyncStateError.
void ForgetListing(const std::filesystem::path& file);

} // namespace tilava
