// The calendar sync is a module of its own (Linux), loaded at the first sync, so that a start of
// the widget maps none of libcurl, libsecret and libical.

#include "exchange/CalendarExchange.h"
#include "exchange/LoadedModule.h"
#include "exchange/SyncEntry.h"

namespace tilava {

namespace {

constexpr const char* kRefusal = "Synchronizácia s kalendárom sa nedá spustiť: jej súčasť";

} // namespace

ExchangeResult SyncCalendar(const std::filesystem::path& folder, const SyncSettings& settings,
                            const SyncRequest& request) {
    ExchangeResult v;
    if (void* f = LoadedModuleEntry(kSyncModuleName, kSyncEntryName, kRefusal, v.message))
        reinterpret_cast<SyncEntry>(f)(folder, settings, request, v);
    return v;
}

ExchangeResult KeepSyncPassword(const SyncSettings& settings, const std::string& password) {
    ExchangeResult v;
    if (void* f = LoadedModuleEntry(kSyncModuleName, kPasswordEntryName, kRefusal, v.message))
        v.success = reinterpret_cast<PasswordEntry>(f)(settings, password, v.message);
    return v;
}

namespace {

SyncCalendarsFound CallFind(const std::string& address, const std::string& user,
                            const std::string& password, const SyncSettings& kept,
                            const std::string& homeUrl) {
    SyncCalendarsFound found;
    if (void* f =
            LoadedModuleEntry(kSyncModuleName, kFindCalendarsEntryName, kRefusal, found.message))
        reinterpret_cast<FindCalendarsEntry>(f)(address, user, password, kept, homeUrl, found);
    return found;
}

} // namespace

SyncCalendarsFound FindSyncCalendars(const std::string& address, const std::string& user,
                                     const std::string& password, const SyncSettings& kept) {
    return CallFind(address, user, password, kept, {});
}

SyncCalendarsFound MakeSyncCalendar(const std::string& homeUrl, const std::string& user,
                                    const std::string& password, const SyncSettings& kept) {
    // (an empty home would ask the module to search instead)
    if (homeUrl.empty())
        return {false, "Server nepovedal, kde sa dá založiť nový kalendár.", {}, {}, {}};
    return CallFind({}, user, password, kept, homeUrl);
}

ExchangeResult KeptSyncPassword(const SyncSettings& from, const SyncSettings* to, bool& kept) {
    ExchangeResult v;
    kept = false;
    if (void* f = LoadedModuleEntry(kSyncModuleName, kKeptPasswordEntryName, kRefusal, v.message))
        v.success = reinterpret_cast<KeptPasswordEntry>(f)(from, to, kept, v.message);
    return v;
}

ExchangeResult ForgetSyncListing() {
    ExchangeResult v;
    if (void* f = LoadedModuleEntry(kSyncModuleName, kForgetListingEntryName, kRefusal, v.message))
        v.success = reinterpret_cast<ForgetListingEntry>(f)(v.message);
    return v;
}

} // namespace tilava
