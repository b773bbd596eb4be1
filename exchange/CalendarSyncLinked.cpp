// The calendar sync is linked into the program (the Windows program).

#include "exchange/CalendarExchange.h"
#include "exchange/sync/DesktopDiscovery.h"
#include "exchange/sync/DesktopSync.h"

namespace tilava {

ExchangeResult SyncCalendar(const std::filesystem::path& folder, const SyncSettings& settings,
                            const SyncRequest& request) {
    ExchangeResult result;
    SyncWithDesktop(folder, settings, request, result);
    return result;
}

ExchangeResult KeepSyncPassword(const SyncSettings& settings, const std::string& password) {
    ExchangeResult result;
    result.success = KeepPasswordOnDesktop(settings, password, result.message);
    return result;
}

SyncCalendarsFound FindSyncCalendars(const std::string& address, const std::string& user,
                                     const std::string& password, const SyncSettings& kept) {
    return FindCalendarsOnDesktop(address, user, password, kept);
}

SyncCalendarsFound MakeSyncCalendar(const std::string& homeUrl, const std::string& user,
                                    const std::string& password, const SyncSettings& kept) {
    return MakeCalendarOnDesktop(homeUrl, user, password, kept);
}

ExchangeResult KeptSyncPassword(const SyncSettings& from, const SyncSettings* to, bool& kept) {
    ExchangeResult result;
    result.success = KeptPasswordOnDesktop(from, to, kept, result.message);
    return result;
}

ExchangeResult ForgetSyncListing() {
    ExchangeResult result;
    result.success = ForgetListingOnDesktop(result.message);
    return result;
}

} // namespace tilava
