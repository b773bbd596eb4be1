#include "exchange/sync/CalendarListing.h"

#include "exchange/EventMapping.h"
#include "exchange/sync/DavXml.h"
#include "exchange/sync/DayOrder.h"

#include <algorithm>
#include <map>
#include <set>

namespace tilava {

namespace {

constexpr const char* kXml = "application/xml; charset=utf-8";

class Listing {
public:
    Listing(const ListingServer& server, const std::string& collection, const SyncState& state,
            bool yearlyEventsAsBirthdays, int fetchBatch)
        : server_(server), collection_(collection), state_(state),
          yearlyEventsAsBirthdays_(yearlyEventsAsBirthdays), fetchBatch_(fetchBatch) {}

    ServerListing Run() {
        result_.changes = ListChanges();
        return std::move(result_);
    }

private:
    HttpResponse Send(const std::string& method, const std::string& path,
                      std::vector<HttpHeader> headers, std::string body = {}) {
        return server_.send(method, path, std::move(headers), std::move(body));
    }

    void Refused(const HttpResponse& answer, const std::string& what) {
        server_.refused(answer, what);
    }

    HttpResponse Report(const std::string& token) {
        return Send("REPORT", collection_, {{"Content-Type", kXml}},
                    "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:sync-collection "
                    "xmlns:D=\"DAV:\"><D:sync-token>" +
                        XmlEscape(token) +
                        "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/>"
                        "</D:prop></D:sync-collection>");
    }

    // The server's changes since the state's token (all its events when there is none, or the
    // server no longer knows it), read as entries.
    std::vector<RemoteChange> ListChanges() {
        std::string token = state_.token;
        HttpResponse answer = Report(token);
        if (answer.status == 403 && !token.empty() && IsInvalidSyncToken(answer.body)) {
            token.clear();
            answer = Report(token);
        }
        if (answer.status != 207) {
            Refused(answer, "zoznam zmien kalendára");
        }
        const DavMultiStatus listing = ReadMultiStatus(answer.body);
        result_.token = listing.syncToken;
        std::vector<RemoteChange> changes;
        std::vector<std::string> wanted;
        std::set<std::string> listed;
        for (const DavMember& member : listing.members) {
            const std::string href = HrefPath(member.href);
            if (href == collection_) {
                continue;
            }
            const auto known = state_.events.find(href);
            if (member.status == 404) {
                if (known != state_.events.end()) {
                    changes.push_back({href, RemoteChange::Kind::Deleted, {}, {}, {}, {}});
                }
            } else if (member.status == 200) {
                listed.insert(href);
                listedEtags_[href] = member.etag;
                if (known == state_.events.end() || member.etag.empty() ||
                    member.etag != known->second.etag) {
                    wanted.push_back(href);
                }
            } else {
                // Listed in part (a server that pages its answer): the rest comes next time.
                result_.complete = false;
            }
        }
        if (token.empty()) {
            // A full listing: what it does not name is gone.
            for (const auto& [href, known] : state_.events) {
                if (!listed.contains(href)) {
                    changes.push_back({href, RemoteChange::Kind::Deleted, {}, {}, {}, {}});
                }
            }
        }
        for (std::size_t first = 0; first < wanted.size();
             first += static_cast<std::size_t>(fetchBatch_)) {
            const auto last =
                std::min(wanted.size(), first + static_cast<std::size_t>(fetchBatch_));
            Fetch({wanted.begin() + static_cast<std::ptrdiff_t>(first),
                   wanted.begin() + static_cast<std::ptrdiff_t>(last)},
                  changes);
        }
        return changes;
    }

    void Fetch(const std::vector<std::string>& hrefs, std::vector<RemoteChange>& changes) {
        std::string body = "<?xml version=\"1.0\" encoding=\"utf-8\"?><C:calendar-multiget "
                           "xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop>"
                           "<D:getetag/><C:calendar-data/></D:prop>";
        for (const std::string& href : hrefs) {
            body += "<D:href>" + XmlEscape(href) + "</D:href>";
        }
        body += "</C:calendar-multiget>";
        const HttpResponse answer =
            Send("REPORT", collection_, {{"Content-Type", kXml}, {"Depth", "1"}}, body);
        if (answer.status != 207) {
            Refused(answer, "udalosti kalendára");
        }
        std::set<std::string> missing(hrefs.begin(), hrefs.end());
        for (const DavMember& member : ReadMultiStatus(answer.body).members) {
            const std::string href = HrefPath(member.href);
            if (!missing.erase(href)) {
                continue;
            }
            if (member.status == 404) {
                if (state_.events.contains(href)) {
                    changes.push_back({href, RemoteChange::Kind::Deleted, {}, {}, {}, {}});
                }
                continue;
            }
            if (member.status != 200) {
                result_.complete = false;
                continue;
            }
            RemoteChange change{href,
                                RemoteChange::Kind::Foreign,
                                member.etag.empty() ? listedEtags_[href] : member.etag,
                                {},
                                {},
                                {}};
            const ReadEvent event =
                ReadCalendarEvent(member.calendarData, yearlyEventsAsBirthdays_);
            change.uid = event.uid;
            change.position = EventPosition(member.calendarData);
            if (event.kind == ReadEvent::Kind::Entry) {
                change.entry = KeyOf(event.entry, event.date);
                if (change.entry) {
                    change.kind = RemoteChange::Kind::Entry;
                }
            } else if (event.kind == ReadEvent::Kind::Refused) {
                change.kind = RemoteChange::Kind::Refused;
                change.reason = event.reason;
            }
            changes.push_back(std::move(change));
        }
        // Events the answer left out are asked for again next time.
        result_.complete = result_.complete && missing.empty();
    }

    const ListingServer& server_;
    const std::string& collection_;
    const SyncState& state_;
    bool yearlyEventsAsBirthdays_;
    int fetchBatch_;
    std::map<std::string, std::string> listedEtags_;
    ServerListing result_;
};

} // namespace

std::string HrefPath(const std::string& href) {
    const auto scheme = href.find("://");
    if (scheme == std::string::npos || href.find('/') < scheme) {
        return href;
    }
    const auto path = href.find('/', scheme + 3);
    return path == std::string::npos ? "/" : href.substr(path);
}

ServerListing ListServerChanges(const ListingServer& server, const std::string& collection,
                                const SyncState& state, bool yearlyEventsAsBirthdays,
                                int fetchBatch) {
    return Listing(server, collection, state, yearlyEventsAsBirthdays, fetchBatch).Run();
}

} // namespace tilava
