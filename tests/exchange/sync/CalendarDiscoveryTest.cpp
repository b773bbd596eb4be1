// Finding an account's calendars from canned server answers: the reader of the PROPFIND answers,
// the walk from the address typed to the calendars, the sync's check of its calendar.
#include "exchange/sync/CalendarDiscovery.h"

#include "core/Utf8.h"
#include "exchange/sync/DavCollections.h"
#include "exchange/sync/DavXml.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tilava {
namespace {

// A server of canned answers, by "METHOD url" (" 1" after it for Depth: 1); anything else is a
// 404. Records what was asked.
class CannedServer final : public HttpClient {
public:
    std::map<std::string, HttpResponse> answers;
    std::vector<std::string> asked;

    HttpResponse Send(const HttpRequest& request) override {
        std::string key = request.method + " " + request.url;
        for (const HttpHeader& h : request.headers)
            if (h.name == "Depth" && h.value == "1")
                key += " 1";
        asked.push_back(key);
        const auto found = answers.find(key);
        return found == answers.end() ? HttpResponse{404, {}, {}, {}} : found->second;
    }
};

std::string Multistatus(const std::string& responses) {
    return "<?xml version='1.0' encoding='utf-8'?><d:multistatus xmlns:d=\"DAV:\" "
           "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">" +
           responses + "</d:multistatus>";
}

std::string Response(const std::string& href, const std::string& properties) {
    return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop>" + properties +
           "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
}

const std::string kCollection = "<d:resourcetype><d:collection/></d:resourcetype>";
const std::string kCalendar = "<d:resourcetype><d:collection/><c:calendar/></d:resourcetype>";
const std::string kEvents = "<c:supported-calendar-component-set><c:comp name=\"VEVENT\"/>"
                            "</c:supported-calendar-component-set>";
const std::string kTasks = "<c:supported-calendar-component-set><c:comp name=\"VTODO\"/>"
                           "</c:supported-calendar-component-set>";

HttpResponse Found(const std::string& body) {
    return {207, {}, body, {}};
}

HttpResponse Redirect(const std::string& location) {
    return {301, {}, {}, location};
}

// What the live servers' answers do not show: a name no dialog can show is cut, a component
// set without VEVENT is no calendar for events, a property of a failed propstat does not count,
// an answer that is no multistatus is refused.
TEST(CalendarDiscovery, ReadsTheAnswersWithinLimits) {
    const std::vector<DavCollection> read = ReadCollections(Multistatus(
        Response("/a/", "<d:displayname>" + std::string(5000, 'x') + "</d:displayname>" + kTasks) +
        "<d:response><d:href>/b/</d:href><d:propstat><d:prop><c:calendar-home-set><d:href>/x/"
        "</d:href></c:calendar-home-set></d:prop><d:status>HTTP/1.1 404 Not Found</d:status>"
        "</d:propstat></d:response>"));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(Utf8Length(read[0].displayName), kLongestCalendarName);
    EXPECT_FALSE(TakesEvents(read[0]));
    EXPECT_EQ(read[1].status, 404);
    EXPECT_TRUE(read[1].calendarHomes.empty());
    EXPECT_THROW(ReadCollections("<d:error xmlns:d=\"DAV:\"/>"), XmlError);
    EXPECT_THROW(ReadCollections(Multistatus("<d:response><d:propstat/></d:response>")), XmlError);
}

struct WalkCase {
    const char* what;
    std::string typed;
    std::map<std::string, HttpResponse> answers;
    std::vector<FoundCalendar> calendars;
    std::string home;
    std::string failure; // its start; empty when found
};

TEST(CalendarDiscovery, WalksFromTheAddressToTheCalendars) {
    const std::string s = "https://cal.example.org";
    const std::string root = "PROPFIND " + s + ":443/";
    const std::string known = "PROPFIND " + s + ":443/.well-known/caldav";
    const std::string principal = "PROPFIND " + s + ":443/dav/principals/alice/";
    const std::string home = "PROPFIND " + s + ":443/dav/calendars/alice/ 1";
    const HttpResponse principalAnswer = Found(Multistatus(Response(
        "/dav/principals/alice/", "<d:resourcetype><d:principal/></d:resourcetype>"
                                  "<c:calendar-home-set><d:href>../../calendars/alice/</d:href>"
                                  "</c:calendar-home-set>")));
    const HttpResponse homeAnswer =
        Found(Multistatus(Response("/dav/calendars/alice/", kCollection) +
                          Response("/dav/calendars/alice/work/",
                                   kCalendar + kEvents + "<d:displayname>Práca</d:displayname>") +
                          Response("/dav/calendars/alice/tasks/", kCalendar + kTasks) +
                          Response(s + "/dav/calendars/alice/home%20calendar/", kCalendar) +
                          Response("https://elsewhere.example.org/dav/x/", kCalendar) +
                          Response("/dav/calendars/alice/inbox/", kCollection)));
    const HttpResponse rootAnswer = Found(Multistatus(Response(
        "/", kCollection + "<d:current-user-principal><d:href>/dav/principals/alice/</d:href>"
                           "</d:current-user-principal>")));
    const std::vector<FoundCalendar> both = {
        {s + "/dav/calendars/alice/work/", "Práca"},
        {s + "/dav/calendars/alice/home%20calendar/", "home calendar"}};
    const std::string homeUrl = s + "/dav/calendars/alice/";
    const std::vector<WalkCase> cases = {
        {"a bare server name: well-known, redirected, then principal and home",
         "cal.example.org",
         {{known, Redirect("/dav/")},
          {"PROPFIND " + s + ":443/dav/", rootAnswer},
          {principal, principalAnswer},
          {home, homeAnswer}},
         both,
         homeUrl,
         {}},
        {"no well-known: the root itself",
         s,
         {{root, rootAnswer}, {principal, principalAnswer}, {home, homeAnswer}},
         both,
         homeUrl,
         {}},
        {"the home typed",
         homeUrl,
         {{"PROPFIND " + s + ":443/dav/calendars/alice/",
           Found(Multistatus(Response("/dav/calendars/alice/",
                                      kCollection + "<d:current-user-principal><d:href>" + s +
                                          "/dav/principals/alice/</d:href>"
                                          "</d:current-user-principal>")))},
          {principal, principalAnswer},
          {home, homeAnswer}},
         both,
         homeUrl,
         {}},
        {"a calendar typed, the server naming no home",
         s + "/dav/calendars/alice/work",
         {{"PROPFIND " + s + ":443/dav/calendars/alice/work",
           Found(Multistatus(Response("/dav/calendars/alice/work/",
                                      kCalendar + "<d:displayname>Práca</d:displayname>")))}},
         {{s + "/dav/calendars/alice/work/", "Práca"}},
         {},
         {}},
        {"a mistyped path",
         s + "/dav/calendrs/",
         {},
         {},
         {},
         "Na adrese „" + s + "/dav/calendrs/“"},
        {"a redirect to another server",
         s,
         {{known, Redirect("https://evil.example.net/caldav/")}},
         {},
         {},
         "Server cal.example.org:443 presmeroval hľadanie kalendárov na iný server"},
        {"a redirect in a circle",
         s,
         {{known, Redirect("/.well-known/caldav")}},
         {},
         {},
         "Server cal.example.org:443 presmeroval hľadanie kalendárov priveľakrát"},
        {"a wrong password",
         s,
         {{known, {401, {}, {}, {}}}},
         {},
         {},
         "Server cal.example.org:443 odmietol používateľa „alice“"},
        {"a root that names no principal",
         s,
         {{root, Found(Multistatus(Response("/", kCollection)))}},
         {},
         {},
         "Server cal.example.org:443 nepovedal, kde má používateľ „alice“ kalendáre"},
        {"a calendar of tasks only typed",
         s + "/t/",
         {{"PROPFIND " + s + ":443/t/", Found(Multistatus(Response("/t/", kCalendar + kTasks)))}},
         {},
         {},
         "Kalendár na adrese „" + s + "/t/“ neprijíma udalosti"},
        {"plain http to another computer",
         "http://cal.example.org/",
         {},
         {},
         {},
         "Adresa servera http://"},
    };
    for (const WalkCase& c : cases) {
        CannedServer server;
        server.answers = c.answers;
        const CalendarSearch found = FindCalendars(c.typed, "alice", server);
        EXPECT_EQ(found.calendars, c.calendars) << c.what;
        EXPECT_EQ(found.homeUrl, c.home) << c.what;
        EXPECT_TRUE(found.failure.starts_with(c.failure) &&
                    found.failure.empty() == c.failure.empty())
            << c.what << ": " << found.failure;
        for (const std::string& asked : server.asked) {
            EXPECT_TRUE(asked.starts_with("PROPFIND https://cal.example.org:443/"))
                << c.what << ": " << asked;
        }
        EXPECT_LE(server.asked.size(), 8u) << c.what;
    }
}

TEST(CalendarDiscovery, TheSyncTakesOnlyACalendar) {
    const std::string url = "https://cal.example.org/alice/";
    const std::vector<std::pair<HttpResponse, std::string>> cases = {
        {Found(Multistatus(Response("/alice/", kCalendar + kEvents))), ""},
        {Found(Multistatus(Response("/alice/", kCalendar))), ""},
        {{404, {}, "Not Found", {}}, "Kalendár „" + url + "“ na serveri nie je (HTTP 404)"},
        // xandikos: a 207 whose only member is a 404
        {Found("<ns0:multistatus xmlns:ns0=\"DAV:\"><ns0:response><ns0:href>http%3A//x/alice/"
               "</ns0:href><ns0:status>HTTP/1.1 404 Not Found</ns0:status></ns0:response>"
               "</ns0:multistatus>"),
         "Kalendár „" + url + "“ na serveri nie je (HTTP 404)"},
        {Found(Multistatus(Response("/", kCollection))),
         "Adresa „" + url + "“ nie je kalendár, ale priečinok"},
        {Found(Multistatus(Response(
             "/alice/", "<d:resourcetype><d:collection/><d:principal/></d:resourcetype>"))),
         "Adresa „" + url + "“ nie je kalendár, ale účet používateľa"},
        {Found(Multistatus(Response("/alice/", kCalendar + kTasks))),
         "Kalendár „" + url + "“ neprijíma udalosti"},
    };
    for (const auto& [answer, problem] : cases) {
        const std::string said = CalendarProblem(answer, url);
        EXPECT_TRUE(said.starts_with(problem) && said.empty() == problem.empty()) << said;
        if (!said.empty()) {
            EXPECT_TRUE(said.ends_with("„Nastavenie synchronizácie…“.")) << said;
        }
    }
    EXPECT_THROW(CalendarProblem(Found("<html>"), url), XmlError);
}

} // namespace
} // namespace tilava
