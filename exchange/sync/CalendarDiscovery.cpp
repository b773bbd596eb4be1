#include "exchange/sync/CalendarDiscovery.h"

#include "core/Utf8.h"
#include "exchange/sync/DavCollections.h"
#include "exchange/sync/DavXml.h"
#include "platform/net/ServerAddress.h"

#include <algorithm>
#include <optional>
#include <set>
#include <vector>

namespace tilava {

namespace {

constexpr const char* kXml = "application/xml; charset=utf-8";
constexpr const char* kWhereToSetUp = " Kalendár vyberiete v ponuke ikony na lište: „Nastavenie "
                                      "synchronizácie…“.";
// A home with more calendars than this is listed only so far.
constexpr std::size_t kMostCalendars = 500;

const std::string kPropfind =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?><D:propfind xmlns:D=\"DAV:\" "
    "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:prop><D:resourcetype/><D:displayname/>"
    "<C:supported-calendar-component-set/><D:current-user-principal/><C:calendar-home-set/>"
    "</D:prop></D:propfind>";

// Ends a search; the text says why.
struct SearchFailed {
    std::string text;
};

// The address as the user reads it: the scheme's own port left out.
std::string ShownUrl(const ServerAddress& server) {
    if (server.port != (server.secure ? 443 : 80))
        return server.Url();
    const bool ipv6 = server.host.find(':') != std::string::npos;
    return std::string(server.secure ? "https://" : "http://") +
           (ipv6 ? "[" + server.host + "]" : server.host) + server.target;
}

ServerAddress On(ServerAddress server, std::string path) {
    server.target = std::move(path);
    return server;
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The last part of a collection's path, percent-decoded, for a calendar without a name.
std::string LastPart(std::string_view path) {
    while (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    path = path.substr(path.rfind('/') + 1);
    std::string decoded;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '%' && i + 2 < path.size() && HexDigit(path[i + 1]) >= 0 &&
            HexDigit(path[i + 2]) >= 0) {
            decoded += static_cast<char>(HexDigit(path[i + 1]) * 16 + HexDigit(path[i + 2]));
            i += 2;
        } else {
            decoded += path[i];
        }
    }
    return Utf8Shorten(PrintableText(decoded), kLongestCalendarName - 1);
}

// The path with its "." and ".." parts resolved (RFC 3986, 5.2.4); ".." never climbs above the
// root. The query, if any, is kept as it is.
std::string WithoutDots(const std::string& target) {
    const std::size_t query = target.find('?');
    const std::string path = target.substr(0, query);
    std::vector<std::string> parts;
    std::size_t at = 1;
    while (at <= path.size()) {
        const std::size_t end = std::min(path.find('/', at), path.size());
        const std::string part = path.substr(at, end - at);
        const bool last = end == path.size();
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            if (last)
                parts.emplace_back();
        } else if (part == ".") {
            if (last)
                parts.emplace_back();
        } else {
            parts.push_back(part);
        }
        at = end + 1;
    }
    std::string resolved;
    for (const std::string& part : parts)
        resolved += "/" + part;
    if (resolved.empty())
        resolved = "/";
    return query == std::string::npos ? resolved : resolved + target.substr(query);
}

class Search {
public:
    Search(ServerAddress server, const std::string& user, HttpClient& client)
        : server_(std::move(server)), user_(user), client_(client) {}

    // A PROPFIND of `path`, following redirects within the server; `path` becomes the path
    // that answered.
    HttpResponse Propfind(std::string& path, const char* depth, std::string_view what) {
        for (int hop = 0;; ++hop) {
            HttpResponse answer = client_.Send({"PROPFIND",
                                                On(server_, path).Url(),
                                                {{"Depth", depth}, {"Content-Type", kXml}},
                                                kPropfind});
            const int s = answer.status;
            if (s != 301 && s != 302 && s != 303 && s != 307 && s != 308)
                return answer;
            if (hop == kMostRedirects)
                throw SearchFailed{"Server " + server_.HostAndPort() + " presmeroval " +
                                   std::string(what) + " priveľakrát za sebou."};
            const std::optional<std::string> next = PathOf(path, answer.location);
            if (!next)
                throw SearchFailed{
                    "Server " + server_.HostAndPort() + " presmeroval " + std::string(what) +
                    " na iný server („" + Utf8Shorten(PrintableText(answer.location), 200) +
                    "“). Heslo sa tam z bezpečnosti neposiela: ak je to naozaj váš server, zadajte "
                    "jeho adresu priamo."};
            path = *next;
        }
    }

    // The path on this server that `href` names, seen from `base`; nothing for another server
    // or an address that cannot be.
    std::optional<std::string> PathOf(const std::string& base, const std::string& href) const {
        if (href.empty())
            return std::nullopt;
        try {
            if (href.find("://") != std::string::npos) {
                const ServerAddress other = ReadServerAddress(href);
                if (other.secure != server_.secure || other.host != server_.host ||
                    other.port != server_.port)
                    return std::nullopt;
                return WithoutDots(other.target);
            }
            std::string path =
                href.starts_with('/') ? href : base.substr(0, base.rfind('/') + 1) + href;
            return WithoutDots(ReadServerAddress(On(server_, "").Url() + path).target);
        } catch (const HttpError&) {
            return std::nullopt;
        }
    }

    // An answer other than 207 ends the search with the reason.
    void Expect207(const HttpResponse& answer, const std::string& path, std::string_view what) {
        if (answer.status == 207)
            return;
        const std::string status = " (HTTP " + std::to_string(answer.status) + ")";
        if (answer.status == 401)
            throw SearchFailed{"Server " + server_.HostAndPort() + " odmietol používateľa „" +
                               user_ + "“ alebo heslo" + status + "."};
        if (answer.status == 403)
            throw SearchFailed{"Server " + server_.HostAndPort() + " nedovolil používateľovi „" +
                               user_ + "“ prístup na adresu „" + ShownUrl(On(server_, path)) + "“" +
                               status + "."};
        if (answer.status == 404)
            throw SearchFailed{Missing(path) + status + "."};
        throw SearchFailed{"Server " + server_.HostAndPort() + " nevybavil " + std::string(what) +
                           status + (answer.status >= 500 ? "; skúste to neskôr." : ".")};
    }

    std::string Missing(const std::string& path) const {
        return "Na adrese „" + ShownUrl(On(server_, path)) +
               "“ server nemá kalendár ani účet; skontrolujte adresu (stačí aj adresa servera, "
               "napríklad https://" +
               server_.host + ")";
    }

    // The one collection a Depth 0 answer describes.
    DavCollection Itself(const HttpResponse& answer, const std::string& path) {
        std::vector<DavCollection> members = ReadCollections(answer.body);
        if (members.empty())
            throw SearchFailed{"Server " + server_.HostAndPort() + " o adrese „" +
                               ShownUrl(On(server_, path)) + "“ nič nepovedal."};
        if (members.front().status == 404)
            throw SearchFailed{Missing(path) + "."};
        return std::move(members.front());
    }

    CalendarSearch Run() {
        CalendarSearch found;
        std::string path = server_.target;
        const bool root = path == "/";
        std::optional<DavCollection> start;
        if (root) {
            // RFC 6764: the server names where its CalDAV service lives.
            std::string known = "/.well-known/caldav";
            const HttpResponse answer = Propfind(known, "0", "hľadanie kalendárov");
            if (answer.status == 207) {
                path = known;
                start = Itself(answer, path);
            } else if (answer.status == 401) {
                Expect207(answer, known, "hľadanie kalendárov");
            }
        }
        if (!start) {
            const HttpResponse answer = Propfind(path, "0", "hľadanie kalendárov");
            Expect207(answer, path, "hľadanie kalendárov");
            start = Itself(answer, path);
        }
        if (start->calendar) {
            if (!TakesEvents(*start))
                throw SearchFailed{"Kalendár na adrese „" + ShownUrl(On(server_, path)) +
                                   "“ neprijíma udalosti (len úlohy alebo poznámky)."};
            found.typedUrl = ShownUrl(On(server_, WithSlash(path)));
            found.calendars.push_back({found.typedUrl, Name(*start, path)});
        }
        std::string home;
        try {
            home = Home(*start, path);
        } catch (const SearchFailed&) {
            // A calendar typed is found even where the server names no home.
            if (start->calendar)
                return found;
            throw;
        }
        found.homeUrl = ShownUrl(On(server_, home));
        List(home, found);
        return found;
    }

private:
    static std::string Name(const DavCollection& c, const std::string& path) {
        return c.displayName.empty() ? LastPart(path) : c.displayName;
    }

    // The account's calendar home, from the collection first asked about.
    std::string Home(const DavCollection& start, const std::string& path) {
        const DavCollection* owner = &start;
        std::string ownerPath = path;
        DavCollection principal;
        if (start.calendarHomes.empty()) {
            std::optional<std::string> principalPath = PathOf(path, start.principalHref);
            if (!principalPath)
                throw SearchFailed{"Server " + server_.HostAndPort() +
                                   " nepovedal, kde má používateľ „" + user_ +
                                   "“ kalendáre (chýba current-user-principal). Zadajte adresu "
                                   "svojho kalendára, ako ju uvádza server."};
            const HttpResponse answer = Propfind(*principalPath, "0", "údaje o používateľovi");
            Expect207(answer, *principalPath, "údaje o používateľovi");
            principal = Itself(answer, *principalPath);
            owner = &principal;
            ownerPath = *principalPath;
        }
        for (const std::string& href : owner->calendarHomes)
            if (const std::optional<std::string> home = PathOf(ownerPath, href))
                return WithSlash(*home);
        throw SearchFailed{"Server " + server_.HostAndPort() + " nepovedal, kde má používateľ „" +
                           user_ + "“ kalendáre (chýba calendar-home-set)."};
    }

    void List(const std::string& home, CalendarSearch& found) {
        std::string path = home;
        const HttpResponse answer = Propfind(path, "1", "zoznam kalendárov");
        Expect207(answer, path, "zoznam kalendárov");
        std::set<std::string> seen;
        for (const FoundCalendar& c : found.calendars)
            seen.insert(c.url);
        for (const DavCollection& member : ReadCollections(answer.body)) {
            if (member.status < 200 || member.status > 299 || !member.calendar ||
                !TakesEvents(member) || found.calendars.size() >= kMostCalendars)
                continue;
            const std::optional<std::string> at = PathOf(path, member.href);
            if (!at || WithSlash(*at) == path)
                continue;
            const std::string url = ShownUrl(On(server_, WithSlash(*at)));
            if (seen.insert(url).second)
                found.calendars.push_back({url, Name(member, *at)});
        }
    }

    ServerAddress server_;
    const std::string& user_;
    HttpClient& client_;
};

} // namespace

std::string WholeAddress(std::string_view typed) {
    while (!typed.empty() && (typed.front() == ' ' || typed.front() == '\t'))
        typed.remove_prefix(1);
    while (!typed.empty() && (typed.back() == ' ' || typed.back() == '\t'))
        typed.remove_suffix(1);
    std::string address(typed);
    const std::size_t scheme = address.find("://");
    if (scheme == std::string::npos || address.find_first_of("/?#") < scheme)
        address = "https://" + address;
    if (address.find_first_of("/?#", address.find("://") + 3) == std::string::npos)
        address += '/';
    return address;
}

CalendarSearch FindCalendars(std::string_view typedAddress, const std::string& user,
                             HttpClient& client) {
    CalendarSearch found;
    ServerAddress server;
    try {
        server = ReadServerAddress(WholeAddress(typedAddress));
        found = Search(server, user, client).Run();
    } catch (const SearchFailed& e) {
        found = {};
        found.failure = e.text;
    } catch (const HttpError& e) {
        found = {};
        found.failure = e.what();
    } catch (const XmlError& e) {
        found = {};
        found.failure = "Server " + server.HostAndPort() +
                        " poslal odpoveď, ktorej Tilava nerozumie: " + e.what();
    }
    return found;
}

MadeCalendar MakeCalendar(const std::string& homeUrl, HttpClient& client) {
    MadeCalendar made;
    try {
        ServerAddress home = ReadServerAddress(homeUrl);
        home.target = WithSlash(home.target);
        for (int n = 1; n <= 20; ++n) {
            const std::string path =
                home.target + "tilava" + (n == 1 ? std::string() : "-" + std::to_string(n)) + "/";
            const HttpResponse answer = client.Send(
                {"MKCALENDAR",
                 On(home, path).Url(),
                 {{"Content-Type", kXml}},
                 "<?xml version=\"1.0\" encoding=\"utf-8\"?><C:mkcalendar xmlns:D=\"DAV:\" "
                 "xmlns:C=\"urn:ietf:params:xml:ns:caldav\"><D:set><D:prop><D:displayname>Tilava"
                 "</D:displayname><C:supported-calendar-component-set><C:comp name=\"VEVENT\"/>"
                 "</C:supported-calendar-component-set></D:prop></D:set></C:mkcalendar>"});
            if (answer.status == 201) {
                made.url = ShownUrl(On(home, path));
                return made;
            }
            // Something already has that name (RFC 4791: 405; radicale 409; xandikos a 207 of
            // resource-must-be-null): the next one is tried.
            if (answer.status != 405 && answer.status != 409 && answer.status != 207) {
                made.failure = "Server " + home.HostAndPort() + " kalendár nezaložil (HTTP " +
                               std::to_string(answer.status) + ")" +
                               (answer.status == 401 || answer.status == 403
                                    ? ": odmietol používateľa alebo heslo, alebo tam nemáte "
                                      "právo zakladať kalendáre."
                                    : ".");
                return made;
            }
        }
        made.failure = "Server " + home.HostAndPort() +
                       " kalendár nezaložil: všetky mená tilava… sú už obsadené.";
    } catch (const HttpError& e) {
        made.failure = e.what();
    }
    return made;
}

std::string CalendarCheckBody() {
    return kPropfind;
}

std::string CalendarProblem(const HttpResponse& answer, const std::string& calendarUrl) {
    const std::string missing =
        "Kalendár „" + calendarUrl +
        "“ na serveri nie je (HTTP 404): bol zmazaný, alebo je adresa nesprávna." + kWhereToSetUp;
    if (answer.status == 404)
        return missing;
    if (answer.status != 207)
        return {};
    const std::vector<DavCollection> members = ReadCollections(answer.body);
    if (members.empty())
        throw XmlError("V odpovedi na otázku o kalendári chýba položka.");
    const DavCollection& itself = members.front();
    if (itself.status == 404)
        return missing;
    if (itself.status < 200 || itself.status > 299)
        return "Kalendár „" + calendarUrl + "“ sa na serveri nedá otvoriť (HTTP " +
               std::to_string(itself.status) + ")." + kWhereToSetUp;
    if (!itself.calendar)
        return "Adresa „" + calendarUrl + "“ nie je kalendár, ale " +
               (itself.principal ? "účet používateľa" : "priečinok") +
               " na serveri; udalosti by tam nečítal žiadny program." + kWhereToSetUp;
    if (!TakesEvents(itself))
        return "Kalendár „" + calendarUrl + "“ neprijíma udalosti (len úlohy alebo poznámky)." +
               kWhereToSetUp;
    return {};
}

} // namespace tilava
