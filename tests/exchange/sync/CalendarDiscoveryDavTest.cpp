// Finding the calendars, making one and syncing only with a calendar, against the two real
// servers of the fixture calendar_server: radicale and xandikos.
#include "exchange/sync/CalendarDiscovery.h"

#include "exchange/sync/CalendarSync.h"
#include "exchange/sync/DesktopDiscovery.h"
#include "exchange/sync/SyncState.h"
#include "support/CalendarServer.h"
#include "support/FileBytes.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tilava {
namespace {

using test::Entry;

struct Server {
    const char* name;
    std::optional<std::string> url;
    std::string principal; // paths on the server
    std::string home;
};

std::vector<Server> Servers() {
    return {{"radicale", test::CalendarServerUrl(), "/alice/", "/alice/"},
            {"xandikos", test::XandikosServerUrl(), "/alice/", "/alice/calendars/"}};
}

bool Lists(const CalendarSearch& found, const std::string& url) {
    return std::any_of(found.calendars.begin(), found.calendars.end(),
                       [&](const FoundCalendar& c) { return c.url == url; });
}

// What the sync's check says of the address: empty for a calendar.
std::string Check(HttpClient& client, const std::string& url) {
    return CalendarProblem(client.Send({"PROPFIND",
                                        url,
                                        {{"Depth", "0"}, {"Content-Type", "application/xml"}},
                                        CalendarCheckBody()}),
                           url);
}

std::string Event(const std::string& uid, const std::string& lines) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20260101T000000Z\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

TEST(CalendarDiscoveryDav, FromAnyAddressToTheCalendarsOfBothServers) {
    bool any = false;
    for (const Server& server : Servers()) {
        if (!server.url)
            continue;
        any = true;
        const std::string& s = *server.url;
        SCOPED_TRACE(server.name);
        const auto client = CreateHttpClient(test::kCalendarUser, test::kCalendarPassword);

        // A new calendar in the home, under a name the home does not use yet.
        const MadeCalendar made = MakeCalendar(s + server.home, *client);
        ASSERT_EQ(made.failure, "");
        ASSERT_TRUE(made.url.starts_with(s + server.home + "tilava")) << made.url;
        EXPECT_EQ(Check(*client, made.url), "");
        const MadeCalendar second = MakeCalendar(s + server.home, *client);
        EXPECT_NE(second.url, made.url);

        struct Row {
            std::string typed;
            bool typedIsCalendar;
        };
        const std::vector<Row> rows = {
            {s + "/", false},
            {s, false},
            {s + "/.well-known/caldav", false},
            {s + server.principal, false},
            {s + server.home, false},
            {made.url, true},
            {made.url.substr(0, made.url.size() - 1), true},
        };
        for (const Row& row : rows) {
            const CalendarSearch found = FindCalendars(row.typed, test::kCalendarUser, *client);
            EXPECT_EQ(found.failure, "") << row.typed;
            EXPECT_EQ(found.homeUrl, s + server.home) << row.typed;
            EXPECT_TRUE(Lists(found, made.url) && Lists(found, second.url)) << row.typed;
            EXPECT_EQ(found.typedUrl, row.typedIsCalendar ? made.url : "") << row.typed;
            // The root and the home are never among the calendars.
            EXPECT_FALSE(Lists(found, s + "/") || Lists(found, s + server.home)) << row.typed;
        }

        // A mistyped path: said, and nothing is made there, neither by the search nor the sync.
        const std::string mistyped = s + server.home + "tilvaa/";
        const CalendarSearch wrong = FindCalendars(mistyped, test::kCalendarUser, *client);
        EXPECT_TRUE(wrong.failure.starts_with("Na adrese „" + mistyped + "“ server nemá kalendár"))
            << wrong.failure;
        EXPECT_TRUE(wrong.calendars.empty());

        // The sync takes only a calendar: a missing one, the root and the home are refused with
        // the reason, and nothing changes on either side.
        const std::vector<std::pair<std::string, std::string>> refused = {
            {mistyped, "Kalendár „" + mistyped + "“ na serveri nie je (HTTP 404)"},
            {s + "/", "Adresa „" + s + "/“ nie je kalendár, ale priečinok"},
            {s + server.home, "Adresa „" + s + server.home + "“ nie je kalendár"},
        };
        for (const auto& [url, reason] : refused) {
            test::TempNotesFolder notes;
            test::TempFolder state{"tilava-sync-state"};
            notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}}));
            const test::FolderSnapshot before = test::Snapshot(notes.TempPath());
            const SyncReport r = RunCalendarSync(notes.TempPath(), state.Path(),
                                                 {url, test::kCalendarUser, 0, false}, *client);
            EXPECT_FALSE(r.Succeeded()) << url;
            ASSERT_EQ(r.failures.size(), 1u) << r.Text();
            EXPECT_TRUE(r.failures[0].starts_with(reason)) << r.Text();
            EXPECT_EQ(r.uploaded, 0) << r.Text();
            EXPECT_EQ(test::Snapshot(notes.TempPath()), before);
        }
        EXPECT_NE(Check(*client, mistyped), "");
    }
    if (!any)
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
}

// Switching "yearly all-day events are birthdays" on reads the calendar again: a yearly event
// of the phone that the sync left alone comes in as a birthday at the next sync.
TEST(CalendarDiscoveryDav, TheYearlySwitchRereadsTheCalendar) {
    bool any = false;
    for (const Server& server : Servers()) {
        if (!server.url)
            continue;
        any = true;
        SCOPED_TRACE(server.name);
        const auto client = CreateHttpClient(test::kCalendarUser, test::kCalendarPassword);
        const MadeCalendar made = MakeCalendar(*server.url + server.home, *client);
        ASSERT_EQ(made.failure, "");
        ASSERT_EQ(client
                      ->Send({"PUT",
                              made.url + "mama.ics",
                              {{"Content-Type", "text/calendar; charset=utf-8"}},
                              Event("phone-mama", "DTSTART;VALUE=DATE:19550702\r\n"
                                                  "RRULE:FREQ=YEARLY\r\nSUMMARY:Mama\r\n")})
                      .status,
                  201);
        test::TempNotesFolder notes;
        test::TempFolder state{"tilava-sync-state"};
        SyncSettings settings{made.url, test::kCalendarUser, 0, false};
        SyncReport r = RunCalendarSync(notes.TempPath(), state.Path(), settings, *client);
        ASSERT_TRUE(r.Succeeded()) << r.Text();
        EXPECT_EQ(r.added, 0) << r.Text();

        settings.yearlyEventsAsBirthdays = true;
        ForgetListing(state.Path() / kSyncStateName);
        r = RunCalendarSync(notes.TempPath(), state.Path(), settings, *client);
        ASSERT_TRUE(r.Succeeded()) << r.Text();
        EXPECT_EQ(r.added, 1) << r.Text();
        EXPECT_TRUE(std::filesystem::exists(notes.Subor(2, 7)));
    }
    if (!any)
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
}

} // namespace
} // namespace tilava
