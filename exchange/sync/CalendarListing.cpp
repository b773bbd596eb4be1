#include "exchange/sync/CalendarListing.h"

#include "exchange/EventMapping.h"
#include "exchange/sync/DavXml.h"
#include "exchange/sync/DayOrder.h"

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

namespace tilava {

namespace {

std::string SyncCollectionBody(const std::string& token) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:sync-collection "
           "xmlns:D=\"DAV:\"><D:sync-token>" +
           XmlEscape(token) +
           "</D:sync-token><D:sync-level>1</D:sync-level><D:prop><D:getetag/>"
           "</D:prop></D:sync-collection>";
}

constexpr const char* kXml = "application/xml; charset=utf-8";
// A server that pages its sync-collection answer (507 on the collection) gets this many pages;
// one that pages for ever is listed in part, and the rest waits for the next sync.
constexpr int kMostPages = 1000;

// What the listing said of one event: there (with its etag, empty when it gave none that can be
// used) or gone.
struct Listed {
    bool gone = false;
    std::string etag;
};

// Whether the content type of a collection's member is that of an event; a member without one
// is taken as an event (the multiget reads what it is).
bool CalendarType(const std::string& type) {
    std::string lower;
    for (const char c : type.substr(0, type.find(';'))) {
        if (c != ' ' && c != '\t') {
            lower += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        }
    }
    return type.empty() || lower == "text/calendar";
}

class Listing {
public:
    Listing(const ListingServer& server, const std::string& collection, const SyncState& state,
            bool yearlyEventsAsBirthdays, int fetchBatch)
        : server_(server), collection_(collection), state_(state),
          yearlyEventsAsBirthdays_(yearlyEventsAsBirthdays), fetchBatch_(std::max(fetchBatch, 1)) {}

    ServerListing Run() {
        result_.changes = ListChanges();
        return std::move(result_);
    }

private:
    HttpResponse Send(const std::string& method, const std::vector<HttpHeader>& headers,
                      std::string body) {
        return server_.send(method, collection_, headers, std::move(body));
    }

    void Refused(const HttpResponse& answer, const std::string& what) {
        server_.refused(answer, what);
        throw std::logic_error("Synchronizácia sa zastavila: server odmietol " + what + ".");
    }

    bool IsCollection(const std::string& href) const {
        return href == collection_ || href + '/' == collection_;
    }

    HttpResponse Report(const std::string& token) {
        return Send("REPORT", {{"Content-Type", kXml}}, SyncCollectionBody(token));
    }

    // What a member of a listing says of its event; a member the server could not list (403,
    // 500, …) leaves the listing incomplete.
    void Take(const std::string& href, const DavMember& member) {
        if (member.status == 404) {
            listed_[href] = {true, {}};
        } else if (member.status == 200) {
            listed_[href] = {false, UsableEtag(member.etag)};
        } else {
            listed_.erase(href);
            result_.complete = false;
        }
    }

    // The sync-collection report from `token`, page by page while the server cuts its answer
    // short (a 507 for the collection itself: the rest follows from the token it gave).
    void ListByReport(HttpResponse answer, std::string token) {
        for (int page = 1;; ++page) {
            if (answer.status != 207) {
                Refused(answer, "zoznam zmien kalendára");
            }
            const DavMultiStatus listing = ReadMultiStatus(answer.body);
            bool cut = false;
            for (const DavMember& member : listing.members) {
                const std::string href = HrefPath(member.href);
                if (IsCollection(href)) {
                    cut = cut || member.status == 507;
                } else {
                    Take(href, member);
                }
            }
            result_.token = listing.syncToken;
            if (!cut) {
                return;
            }
            if (listing.syncToken.empty() || listing.syncToken == token || page == kMostPages) {
                result_.complete = false;
                return;
            }
            token = listing.syncToken;
            answer = Report(token);
        }
    }

    // Every event of the calendar with its etag, for a server that has no sync-collection
    // report: the state's etags tell what changed.
    void ListByPropfind() {
        const HttpResponse answer =
            Send("PROPFIND", {{"Depth", "1"}, {"Content-Type", kXml}},
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:propfind xmlns:D=\"DAV:\"><D:prop>"
                 "<D:getetag/><D:resourcetype/><D:getcontenttype/></D:prop></D:propfind>");
        if (answer.status != 207) {
            Refused(answer, "zoznam udalostí kalendára");
        }
        for (const DavMember& member : ReadMultiStatus(answer.body).members) {
            const std::string href = HrefPath(member.href);
            if (IsCollection(href)) {
                result_.complete = result_.complete && member.status != 507;
            } else if (member.status == 404) {
                // Here a 404 says that the properties were not found, not that the event is
                // gone: it is fetched, and the fetch tells.
                listed_[href] = {false, {}};
            } else if (!member.collection && CalendarType(member.contentType)) {
                Take(href, member);
            }
        }
        result_.token.clear();
    }

    // The server's changes since the state's token (all its events when there is none, or the
    // server no longer knows it, or cannot list changes), read as entries.
    std::vector<RemoteChange> ListChanges() {
        std::string token = state_.token;
        HttpResponse answer = Report(token);
        if (answer.status == 403 && !token.empty() && IsInvalidSyncToken(answer.body)) {
            token.clear();
            answer = Report(token);
        }
        bool full = token.empty();
        if (answer.status == 403 || answer.status == 405 || answer.status == 501) {
            // No sync-collection here (or not for this calendar): every sync compares etags.
            ListByPropfind();
            full = true;
        } else {
            ListByReport(std::move(answer), token);
        }

        std::vector<RemoteChange> changes;
        std::vector<std::string> wanted;
        for (const auto& [href, seen] : listed_) {
            const auto known = state_.events.find(href);
            if (seen.gone) {
                if (known != state_.events.end()) {
                    changes.push_back({href, RemoteChange::Kind::Deleted, {}, {}, {}, {}});
                }
            } else if (known == state_.events.end() || seen.etag.empty() ||
                       seen.etag != known->second.etag) {
                wanted.push_back(href);
            }
        }
        // A whole listing: what it does not name is gone. One that is not whole (a page or an
        // event the server could not list) says nothing of what it leaves out.
        if (full && result_.complete) {
            for (const auto& [href, known] : state_.events) {
                if (!listed_.contains(href)) {
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
        const HttpResponse answer = Send("REPORT", {{"Content-Type", kXml}, {"Depth", "1"}}, body);
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
            // An event that came without its text is asked for again next time; nothing is
            // learned of it now.
            if (member.status != 200 || member.calendarData.empty()) {
                result_.complete = false;
                continue;
            }
            const std::string etag = UsableEtag(member.etag);
            // Fetched for want of an etag in the listing, and still as the last sync saw it.
            if (const auto known = state_.events.find(href);
                !etag.empty() && known != state_.events.end() && known->second.etag == etag) {
                continue;
            }
            RemoteChange change{
                href, RemoteChange::Kind::Foreign, etag.empty() ? listed_[href].etag : etag, {}, {},
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
    std::map<std::string, Listed> listed_; // by href, as the last page that named it says
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

std::string UsableEtag(const std::string& etag) {
    const bool usable =
        etag.size() <= kLongestEtag && std::none_of(etag.begin(), etag.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
    return usable ? etag : std::string();
}

std::string TokenPastOwnChanges(const ListingServer& server, const std::string& collection,
                                const SyncState& state, const std::string& token) {
    if (token.empty()) {
        return token;
    }
    const HttpResponse answer =
        server.send("REPORT", collection, {{"Content-Type", kXml}}, SyncCollectionBody(token));
    if (answer.status != 207) {
        return token;
    }
    const DavMultiStatus listing = ReadMultiStatus(answer.body);
    for (const DavMember& member : listing.members) {
        const std::string href = HrefPath(member.href);
        const auto known = state.events.find(href);
        const bool collectionItself = href == collection || href + '/' == collection;
        // A listing cut short (507 on the collection) may hide what others did.
        const bool own =
            collectionItself
                ? member.status == 200 || member.status == 0
                : (member.status == 404 && known == state.events.end()) ||
                      (member.status == 200 && known != state.events.end() &&
                       !UsableEtag(member.etag).empty() && member.etag == known->second.etag);
        if (!own) {
            return token;
        }
    }
    return listing.syncToken.empty() ? token : listing.syncToken;
}

ServerListing ListServerChanges(const ListingServer& server, const std::string& collection,
                                const SyncState& state, bool yearlyEventsAsBirthdays,
                                int fetchBatch) {
    return Listing(server, collection, state, yearlyEventsAsBirthdays, fetchBatch).Run();
}

} // namespace tilava
