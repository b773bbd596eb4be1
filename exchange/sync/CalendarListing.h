#pragma once

#include "exchange/sync/SyncPlan.h"
#include "exchange/sync/SyncState.h"
#include "platform/net/HttpClient.h"

#include <functional>
#include <string>
#include <vector>

namespace tilava {

// How the listing reaches the calendar: `send` makes one request to a path of the server;
// `refused` is told of an answer that ends the run ("zoznam zmien kalendára" names what was
// refused) and does not return (it throws).
struct ListingServer {
    std::function<HttpResponse(const std::string& method, const std::string& path,
                               std::vector<HttpHeader> headers, std::string body)>
        send;
    std::function<void(const HttpResponse& answer, const std::string& what)> refused;
};

// The server's changes since the last sync, read as entries.
struct ServerListing {
    std::vector<RemoteChange> changes;
    std::string token;    // the server's new sync token
    bool complete = true; // every change came in: the new token may replace the old one
};

// Lists the changes of the calendar at `collection` (a path ending in '/') since `state`'s
// token (all its events when there is none, or the server no longer knows it) and fetches the
// new and changed events, `fetchBatch` to one calendar-multiget.
ServerListing ListServerChanges(const ListingServer& server, const std::string& collection,
                                const SyncState& state, bool yearlyEventsAsBirthdays,
                                int fetchBatch);

// The path of an href, whether the server wrote it as a path or as a whole URL.
std::string HrefPath(const std::string& href);

} // namespace tilava
