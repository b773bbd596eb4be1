#pragma once

#include "exchange/CalendarExchange.h"
#include "store/SyncSettings.h"

#include <filesystem>
#include <string>

namespace tilava {

// The sync of the notes in `folder` with the calendar of `settings` as a user starts it: the
// password from the desktop's secret store, the state in SyncStateFolder(), the client of this
// system, as `request` asks. Fills `result`: the report (Slovak), whether everything went well,
// whether the report holds what the user must read even when it went well (an entry changed on
// both sides, an event the day files cannot hold), and the removals it withheld.
void SyncWithDesktop(const std::filesystem::path& folder, const SyncSettings& settings,
                     const SyncRequest& request, ExchangeResult& result);

// Keeps the password in the desktop's secret store for the calendar and user of `settings`;
// an empty one forgets the password kept.
bool KeepPasswordOnDesktop(const SyncSettings& settings, const std::string& password,
                           std::string& message);

} // namespace tilava
