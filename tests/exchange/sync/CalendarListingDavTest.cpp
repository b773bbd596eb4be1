#include "exchange/sync/CalendarSync.h"
#include "SyncDavSupport.h"

#include "core/Cp1250.h"
#include "exchange/EventMapping.h"
#include "exchange/sync/DavXml.h"
#include "exchange/sync/RemovedEntries.h"
#include "exchange/sync/SyncState.h"
#include "support/CalendarServer.h"
#include "support/FileBytes.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <stdexcept>

namespace tilava {
namespace {

using namespace davtest;

// A client that hands the sync's requests to the real one, and while `on` lets a row answer
// them as a server of another make would (nothing: the real answer goes back).
class RewritingClient final : public HttpClient {
public:
    using Rewrite = std::function<std::optional<HttpResponse>(const HttpRequest&, HttpClient&)>;

    explicit RewritingClient(Rewrite rewrite)
        : real_(CreateHttpClient(test::kCalendarUser, test::kCalendarPassword)),
          rewrite_(std::move(rewrite)) {}

    HttpResponse Send(const HttpRequest& request) override {
        // An event is deleted only as it was last seen, never without a condition.
        if (request.method == "DELETE") {
            EXPECT_TRUE(std::any_of(
                request.headers.begin(), request.headers.end(),
                [](const HttpHeader& h) { return h.name == "If-Match" && !h.value.empty(); }))
                << request.url;
        }
        if (on && rewrite_) {
            if (std::optional<HttpResponse> answer = rewrite_(request, *real_)) {
                return *answer;
            }
        }
        return real_->Send(request);
    }

    bool on = false;

private:
    std::unique_ptr<HttpClient> real_;
    Rewrite rewrite_;
};

bool SyncCollection(const HttpRequest& r) {
    return r.method == "REPORT" && r.body.find("sync-collection") != std::string::npos;
}

std::string TokenOf(const HttpRequest& r) {
    const std::regex token("<D:sync-token>(.*)</D:sync-token>");
    std::smatch found;
    return std::regex_search(r.body, found, token) ? found[1].str() : std::string();
}

HttpResponse Answer(int status, std::string body = {}) {
    return {status, "", std::move(body), {}};
}

// The answer to a sync-collection report of a token the server forgot.
const HttpResponse kTokenForgotten =
    Answer(403, "<D:error xmlns:D=\"DAV:\"><D:valid-sync-token/></D:error>");

// A sync-collection answer cut short (RFC 6578, 3.6): the collection with 507 and the token to
// go on from, "page-2".
HttpResponse CutShort(const HttpRequest& r) {
    const std::string path = r.url.substr(r.url.find('/', r.url.find("://") + 3));
    return Answer(207, "<D:multistatus xmlns:D=\"DAV:\"><D:response><D:href>" + path +
                           "</D:href><D:status>HTTP/1.1 507 Insufficient Storage</D:status>"
                           "</D:response><D:sync-token>page-2</D:sync-token></D:multistatus>");
}

// The real answer with every match of `pattern` replaced.
HttpResponse Replaced(HttpClient& real, const HttpRequest& r, const std::string& pattern,
                      const std::string& with) {
    HttpResponse answer = real.Send(r);
    answer.body = std::regex_replace(answer.body, std::regex(pattern), with);
    return answer;
}

// A full listing whatever the state's token: the server forgot it.
std::optional<HttpResponse> Forgotten(const HttpRequest& r) {
    if (SyncCollection(r) && !TokenOf(r).empty() && TokenOf(r) != "page-2") {
        return kTokenForgotten;
    }
    return std::nullopt;
}

struct ListingRow {
    const char* what;
    bool fromStart; // the first sync meets the rewritten server too
    RewritingClient::Rewrite rewrite;
    // After two syncs with the rewritten server: whether the notes still hold Eva (1. 4.), whose
    // event the phone deleted (a server that lists the deleted event with 404 says so even in a
    // listing in part), and whether the phone's new birthday came in (Mama 2. 7.).
    bool evaHeld;
    bool mamaCame;
};

// The phone adds a birthday, deletes one, and saves Jano's again unchanged (a new etag);
// the notes delete a note. Every row keeps Jano, never loses what the server did not say, and
// a sync with the server as it is brings both sides together.
TEST(CalendarSyncDav, ListingsOfOtherServers) {
    using namespace std::chrono;
    const std::optional<std::string> server = test::CalendarServerUrl();
    if (!server) {
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
    }
    const auto refuseReport = [](int status) {
        return [status](const HttpRequest& r, HttpClient&) -> std::optional<HttpResponse> {
            if (SyncCollection(r)) {
                return Answer(status, "<D:error xmlns:D=\"DAV:\"><D:need-privileges/></D:error>");
            }
            return std::nullopt;
        };
    };
    // Every etag of the server (of an upload's answer, or in a listing) with `inside` added.
    const auto badEtags = [](const std::string& inside, const std::string& insideXml) {
        return [inside, insideXml](const HttpRequest& r,
                                   HttpClient& real) -> std::optional<HttpResponse> {
            if (r.method == "PUT") {
                HttpResponse answer = real.Send(r);
                answer.etag = "\"bad" + inside + "\"";
                return answer;
            }
            if (r.method == "REPORT") {
                return Replaced(real, r, "\"(</([A-Za-z]+:)?getetag>)", insideXml + "\"$1");
            }
            return std::nullopt;
        };
    };
    const ListingRow rows[] = {
        {"no sync-collection (501): a PROPFIND every time", true, refuseReport(501), false, true},
        {"sync-collection forbidden (403)", true, refuseReport(403), false, true},
        {"sync-collection not allowed (405)", true, refuseReport(405), false, true},
        {"a PROPFIND whose properties the server did not find", true,
         [](const HttpRequest& r, HttpClient& real) -> std::optional<HttpResponse> {
             if (SyncCollection(r)) {
                 return Answer(501);
             }
             if (r.method == "PROPFIND" && r.body.find("getcontenttype") != std::string::npos) {
                 return Replaced(real, r, "HTTP/1.1 200 OK", "HTTP/1.1 404 Not Found");
             }
             return std::nullopt;
         },
         false, true},
        {"events without their calendar data", false,
         [](const HttpRequest& r, HttpClient& real) -> std::optional<HttpResponse> {
             if (r.method == "REPORT" && r.body.find("calendar-multiget") != std::string::npos) {
                 return Replaced(real, r, "<C:calendar-data>[^<]*</C:calendar-data>",
                                 "<C:calendar-data/>");
             }
             return std::nullopt;
         },
         false, false},
        {"a full listing cut short, followed to its end", false,
         [](const HttpRequest& r, HttpClient& real) -> std::optional<HttpResponse> {
             if (!SyncCollection(r)) {
                 return std::nullopt;
             }
             if (TokenOf(r).empty()) {
                 return CutShort(r);
             }
             if (TokenOf(r) == "page-2") {
                 HttpRequest whole = r;
                 whole.body = std::regex_replace(r.body, std::regex("page-2"), "");
                 return real.Send(whole);
             }
             return kTokenForgotten;
         },
         false, true},
        {"a full listing cut short for ever", false,
         [](const HttpRequest& r, HttpClient&) -> std::optional<HttpResponse> {
             if (const auto forgotten = Forgotten(r)) {
                 return forgotten;
             }
             return SyncCollection(r) ? std::optional(CutShort(r)) : std::nullopt;
         },
         true, false},
        {"a full listing whose events the server could not list", false,
         [](const HttpRequest& r, HttpClient& real) -> std::optional<HttpResponse> {
             if (const auto forgotten = Forgotten(r)) {
                 return forgotten;
             }
             if (SyncCollection(r)) {
                 return Replaced(real, r, "HTTP/1.1 200 OK", "HTTP/1.1 500 Internal Server Error");
             }
             return std::nullopt;
         },
         false, false},
        {"etags with a line break, in listings and in answers to uploads", true,
         badEtags("\r\nX-Injected: 1", "&#13;&#10;X-Injected: 1"), false, true},
        {"etags over a thousand bytes", true,
         badEtags(std::string(1000, 'e'), std::string(1000, 'e')), false, true},
    };
    const TNote jano{EntryKind::Narodeniny, 1980, true, "Jano"};
    const std::string mama =
        Event("phone-mama", "DTSTART;VALUE=DATE:19550702\r\n"
                            "RRULE:FREQ=YEARLY\r\nSUMMARY:Mama - narodeniny\r\n");
    std::random_device random;
    for (const ListingRow& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string path = std::string("/") + test::kCalendarUser + "/list-" +
                                 std::to_string(random()) + std::to_string(random()) + "/";
        const SyncSettings settings{*server + path, test::kCalendarUser, 0, false};
        Phone phone(*server + path);
        ASSERT_EQ(phone.Make(), 201);
        Computer a;
        RewritingClient client(row.rewrite);
        const auto sync = [&] {
            const SyncReport r =
                RunCalendarSync(a.notes.TempPath(), a.state.Path(), settings, client, {});
            EXPECT_TRUE(r.Succeeded()) << r.Text();
        };
        a.notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}}));
        a.notes.WriteDay(1, 4, test::DayFileLines({{2, 1970, "Eva"}}));
        a.notes.WriteDay(16, 12, test::DayFileLines({{1, 2026, "zubár"}}));
        client.on = row.fromStart;
        sync();
        sync();
        if (phone.Summaries().size() != 3u) {
            ADD_FAILURE() << "the entries did not go up";
            continue;
        }

        const std::string janoName = phone.NameOf("Jano – narodeniny");
        EXPECT_EQ(phone.Put(janoName,
                            EventCalendarText(jano, March / 15,
                                              janoName.substr(0, janoName.size() - 4) + "@tilava",
                                              std::chrono::sys_days{2030y / 1 / 1}),
                            true),
                  201);
        EXPECT_EQ(phone.Put("mama.ics", mama), 201);
        EXPECT_EQ(phone.Delete(phone.NameOf("Eva – narodeniny")), 200);
        std::filesystem::remove(a.notes.Subor(16, 12));

        client.on = true;
        for (int twice = 0; twice < 2; ++twice) {
            sync();
            EXPECT_EQ(a.Day(15, 3), DayBytes({{2, 1980, "Jano"}}));
            EXPECT_EQ(a.Day(1, 4), row.evaHeld ? DayBytes({{2, 1970, "Eva"}}) : "<none>");
            EXPECT_EQ(a.Day(2, 7), row.mamaCame ? DayBytes({{2, 1955, "Mama"}}) : "<none>");
            EXPECT_EQ(a.Day(16, 12), "<none>");
        }
        client.on = false;
        sync();
        EXPECT_EQ(a.Day(15, 3), DayBytes({{2, 1980, "Jano"}}));
        EXPECT_EQ(a.Day(1, 4), "<none>");
        EXPECT_EQ(a.Day(2, 7), DayBytes({{2, 1955, "Mama"}}));
        EXPECT_EQ(phone.Summaries(),
                  (std::multiset<std::string>{"Jano – narodeniny", "Mama - narodeniny"}));
    }
}

// A client that refuses every request before sending it, as the real one refuses a header that
// would end its line.
class RefusingClient final : public HttpClient {
public:
    explicit RefusingClient(std::function<void()> refuse) : refuse_(std::move(refuse)) {}
    HttpResponse Send(const HttpRequest&) override {
        refuse_();
        return {};
    }

private:
    std::function<void()> refuse_;
};

TEST(CalendarSyncDav, WhateverStopsASyncIsReported) {
    const struct {
        const char* what;
        std::function<void()> refuse;
        std::string failure;
    } rows[] = {
        {"a header the client will not send",
         [] { throw std::invalid_argument("Hlavička požiadavky „If-Match“ je neplatná."); },
         "Synchronizácia sa zastavila: Hlavička požiadavky „If-Match“ je neplatná. Poznámky aj "
         "kalendár na serveri ostali, ako boli."},
        {"no memory", [] { throw std::bad_alloc(); },
         "Synchronizácia sa zastavila: nedostatok pamäte. Poznámky aj kalendár na serveri "
         "ostali, ako boli."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        Computer a;
        a.notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}}));
        const SyncSettings settings{"http://127.0.0.1:1/alice/calendar/", test::kCalendarUser, 0,
                                    false};
        RefusingClient client(row.refuse);
        SyncReport r;
        ASSERT_NO_THROW(r = RunCalendarSync(a.notes.TempPath(), a.state.Path(), settings, client));
        EXPECT_EQ(r.failures, std::vector<std::string>{row.failure});
        EXPECT_EQ(a.Day(15, 3), DayBytes({{2, 1980, "Jano"}}));
        EXPECT_EQ(test::FolderEntries(a.state.Path()), std::vector<std::string>{"sync.lock"});
    }
}

} // namespace
} // namespace tilava
