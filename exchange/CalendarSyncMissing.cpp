// A build without the sync's libraries (libical, and libcurl and libsecret on Linux) has no
// calendar sync: it says so and changes nothing.

#include "exchange/CalendarExchange.h"

namespace tilava {

namespace {

constexpr const char* kNoSync = "Táto zostava Tilavy synchronizáciu s kalendárom na serveri nemá "
                                "(bola zostavená bez knižníc, ktoré na ňu potrebuje).\n";

} // namespace

ExchangeResult SyncCalendar(const std::filesystem::path&, const SyncSettings&, const SyncRequest&) {
    return {false, kNoSync};
}

ExchangeResult KeepSyncPassword(const SyncSettings&, const std::string&) {
    return {false, kNoSync};
}

} // namespace tilava
