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

} // namespace tilava
