#pragma once

#include "exchange/sync/SyncPlan.h"
#include "exchange/sync/SyncState.h"
#include "platform/net/HttpClient.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tilava {

// How the listing reaches the calendar: `send` makes one request to a path of the server;
// `refused` is told of an answer that ends the run ("zoznam zmien kalendára" names what was
// refused) and throws (should it return, the listing throws std::logic_error).
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
// new and changed events, `fetchBatch` to one calendar-multiget. A server that refuses the
// sync-collection report (403 other than for an expired token, 405, 501) is listed with a
// PROPFIND of depth 1, every time, and its etags compared with the state's. Only a whole
// listing tells deletions by absence; a listing in part (an answer cut short and not followed to
// its end, a member the server could not list, an event that came without its data) is
// `complete` false and leaves the rest for the next sync. An etag that cannot be used (see
// UsableEtag) is taken as none: the event is fetched again.
ServerListing ListServerChanges(const ListingServer& server, const std::string& collection,
                                const SyncState& state, bool yearlyEventsAsBirthdays,
                                int fetchBatch);

// The token after this sync's own uploads and deletions. The listing's token came before them,
// and a server may leave out of the listing after it an event both made and deleted since
// (xandikos does): a phone's deletion of an entry just sent would never arrive. The server's
// token after `token` is taken when every change it lists since then is one `state` already
// holds (an upload of this sync with its etag, a deletion of this sync) and the listing is
// whole; else `token` stays. Throws HttpError and XmlError.
std::string TokenPastOwnChanges(const ListingServer& server, const std::string& collection,
                                const SyncState& state, const std::string& token);

// The longest etag the sync keeps; servers send a few dozen bytes.
inline constexpr std::size_t kLongestEtag = 1000;

// The etag when it can go into a request header (If-Match) as it is: at most kLongestEtag
// bytes and no control character (a line break would end the header); else empty, as if the
// server had sent none.
std::string UsableEtag(const std::string& etag);

// The path of an href, whether the server wrote it as a path or as a whole URL.
std::string HrefPath(const std::string& href);

} // namespace tilava
