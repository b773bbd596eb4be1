#pragma once

#include "exchange/CalendarExchange.h"
#include "store/SyncSettings.h"

#include <filesystem>
#include <string>

namespace tilava {

// The calendar sync as the program calls it (SyncCalendar and KeepSyncPassword): each fills
// `message` with the report for the user and says whether everything went well; the sync fills
// the whole ExchangeResult (its remarks and the removals it withheld) and follows `request`.
//
// On Linux they live in a module of their own (kSyncModuleName), loaded at the first sync, so
// that a start of the widget maps none of libcurl, libsecret and libical.
using SyncEntry = void (*)(const std::filesystem::path& folder, const SyncSettings& settings,
                           const SyncRequest& request, ExchangeResult& result);
using PasswordEntry = bool (*)(const SyncSettings& settings, const std::string& password,
                               std::string& message);

// The names carry the number of their signature: a module of an older build that the program
// finds beside it is then refused, not called with the wrong arguments.
inline constexpr const char* kSyncEntryName = "tilava_sync_calendar_3";
inline constexpr const char* kPasswordEntryName = "tilava_keep_sync_password_1";
inline constexpr const char* kSyncModuleName = "calendar-sync.so";

} // namespace tilava
