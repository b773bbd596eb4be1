// The calendar sync is linked into the program (the Windows program).

#include "exchange/CalendarExchange.h"
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

} // namespace tilava
