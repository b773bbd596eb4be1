#include "exchange/sync/CalendarSync.h"

#include "core/Cp1250.h"
#include "exchange/EventMapping.h"
#include "exchange/sync/DavXml.h"
#include "exchange/sync/SyncState.h"
#include "support/CalendarServer.h"
#include "support/FileBytes.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

namespace tilava {
namespace {

using test::Entry;

struct Cut {};

// What the phone does: raw requests to the calendar, with events of its own making.
class Phone {
public:
    explicit Phone(std::string calendar)
        : calendar_(std::move(calendar)),
          client_(CreateHttpClient(test::kCalendarUser, test::kCalendarPassword)) {}

    // A new event (If-None-Match: *), or one replaced whatever it was (no condition).
    int Put(const std::string& name, const std::string& event, bool replace = false) {
        std::vector<HttpHeader> headers{{"Content-Type", "text/calendar; charset=utf-8"}};
        if (!replace) {
            headers.push_back({"If-None-Match", "*"});
        }
        return client_->Send({"PUT", calendar_ + name, headers, event}).status;
    }
    // Makes the calendar itself (the sync never makes one).
    int Make() {
        return client_
            ->Send({"MKCALENDAR",
                    calendar_,
                    {{"Content-Type", "application/xml"}},
                    "<C:mkcalendar xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\"/>"})
            .status;
    }
    int Delete(const std::string& name) {
        return client_->Send({"DELETE", calendar_ + name, {}, {}}).status;
    }
    // The events of the calendar: event name -> its SUMMARY.
    std::multimap<std::string, std::string> Events() {
        const HttpResponse answer = client_->Send(
            {"REPORT",
             calendar_,
             {{"Depth", "1"}, {"Content-Type", "application/xml"}},
             "<C:calendar-query xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
             "<D:prop><C:calendar-data/></D:prop><C:filter><C:comp-filter name=\"VCALENDAR\"/>"
             "</C:filter></C:calendar-query>"});
        std::multimap<std::string, std::string> events;
        for (const DavMember& m : ReadMultiStatus(answer.body).members) {
            const auto at = m.calendarData.find("SUMMARY:") + 8;
            events.emplace(m.href.substr(m.href.rfind('/') + 1),
                           m.calendarData.substr(at, m.calendarData.find('\r', at) - at));
        }
        return events;
    }
    std::multiset<std::string> Summaries() {
        std::multiset<std::string> summaries;
        for (const auto& [name, summary] : Events()) {
            summaries.insert(summary);
        }
        return summaries;
    }
    std::string NameOf(const std::string& summary) {
        for (const auto& [name, text] : Events()) {
            if (text == summary) {
                return name;
            }
        }
        return "<none>";
    }

private:
    std::string calendar_;
    std::unique_ptr<HttpClient> client_;
};

std::string Event(const std::string& uid, const std::string& lines) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20260101T000000Z\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

std::string DayBytes(const std::vector<Entry>& entries) {
    std::string bytes;
    for (const std::string& line : test::DayFileLines(entries)) {
        bytes += EncodeCp1250(line) + "\r\n";
    }
    return bytes;
}

// One computer: its notes folder and its sync state.
struct Computer {
    test::TempNotesFolder notes;
    test::TempFolder state{"tilava-sync-state"};

    SyncReport Sync(const SyncSettings& settings, const SyncOptions& options = {},
                    const char* password = test::kCalendarPassword) {
        const auto client = CreateHttpClient(settings.user, password);
        return RunCalendarSync(notes.TempPath(), state.Path(), settings, *client, options);
    }
    std::string Day(int d, int m) const {
        return std::filesystem::exists(notes.Subor(d, m)) ? test::ReadBytes(notes.Subor(d, m))
                                                          : "<none>";
    }
};

TEST(CalendarSyncDav, TwoComputersAndAPhoneShareOneCalendar) {
    const std::optional<std::string> server = test::CalendarServerUrl();
    if (!server) {
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
    }
    std::random_device random;
    const std::string path = std::string("/") + test::kCalendarUser + "/sync-" +
                             std::to_string(random()) + std::to_string(random()) + "/";
    const SyncSettings settings{*server + path, test::kCalendarUser, 0, false};
    Phone phone(*server + path);
    Computer a;
    Computer b;

    // A's entries go up into the calendar the phone made.
    ASSERT_EQ(phone.Make(), 201);
    a.notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}}));
    a.notes.WriteDay(16, 12, test::DayFileLines({{1, 2026, "zubár"}}));
    SyncReport r = a.Sync(settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    EXPECT_EQ(r.uploaded, 2) << r.Text();

    // The phone adds a birthday (its own UID, a plain hyphen) and an appointment of its own, and
    // has the calendar an export gave it, where Eva's birthday was edited into Evka's; A adds Eva.
    EXPECT_EQ(phone.Put("mama.ics", Event("phone-1", "DTSTART;VALUE=DATE:19550702\r\n"
                                                     "RRULE:FREQ=YEARLY\r\n"
                                                     "SUMMARY:Mama - narodeniny\r\n")),
              201);
    EXPECT_EQ(phone.Put("dentist.ics", Event("phone-2", "DTSTART:20260702T100000Z\r\n"
                                                        "DTEND:20260702T110000Z\r\n"
                                                        "SUMMARY:Zubár o desiatej\r\n")),
              201);
    const TNote eva{EntryKind::Narodeniny, 1970, true, "Eva"};
    EXPECT_EQ(phone.Put("exported.ics", Event(EntryUid(eva, std::chrono::April / 1),
                                              "DTSTART;VALUE=DATE:19700401\r\nRRULE:FREQ=YEARLY\r\n"
                                              "SUMMARY:Evka - narodeniny\r\n")),
              201);
    a.notes.WriteDay(1, 4, test::DayFileLines({{2, 1970, "Eva"}}));
    r = a.Sync(settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    EXPECT_EQ(a.Day(2, 7), DayBytes({{2, 1955, "Mama"}}));
    EXPECT_EQ(a.Day(1, 4), DayBytes({{2, 1970, "Eva"}, {2, 1970, "Evka"}}));

    // B, a second computer, gets everything Tilava's, and nothing of the appointment (2 July).
    r = b.Sync(settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    EXPECT_EQ(b.Day(15, 3), DayBytes({{2, 1980, "Jano"}}));
    EXPECT_EQ(b.Day(16, 12), DayBytes({{1, 2026, "zubár"}}));
    EXPECT_EQ(b.Day(2, 7), DayBytes({{2, 1955, "Mama"}}));
    EXPECT_EQ(b.Day(1, 4), DayBytes({{2, 1970, "Eva"}, {2, 1970, "Evka"}}));

    // Deletions both ways: B deletes Jano, the phone deletes the dentist note.
    std::filesystem::remove(b.notes.Subor(15, 3));
    r = b.Sync(settings);
    EXPECT_EQ(r.deleted, 1) << r.Text();
    EXPECT_EQ(phone.Delete(phone.NameOf("zubár")), 200);
    r = a.Sync(settings);
    EXPECT_EQ(r.removed, 2) << r.Text();
    EXPECT_EQ(a.Day(15, 3), "<none>");
    EXPECT_EQ(a.Day(16, 12), "<none>");

    // A conflict: A renames Mama to Mamka while the phone renames her Mami. Both stay.
    a.notes.WriteDay(2, 7, test::DayFileLines({{2, 1955, "Mamka"}}));
    EXPECT_EQ(phone.Put("mama.ics",
                        Event("phone-1", "DTSTART;VALUE=DATE:19550702\r\nRRULE:FREQ=YEARLY\r\n"
                                         "SUMMARY:Mami - narodeniny\r\n"),
                        true),
              201);
    r = a.Sync(settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    EXPECT_EQ(r.conflicts.size(), 1u) << r.Text();
    EXPECT_NE(r.Text().find("Konflikty"), std::string::npos) << r.Text();
    EXPECT_EQ(a.Day(2, 7), DayBytes({{2, 1955, "Mamka"}, {2, 1955, "Mami"}}));
    const std::multiset<std::string> afterConflict = {"Mami - narodeniny", "Mamka – narodeniny",
                                                      "Zubár o desiatej", "Eva – narodeniny",
                                                      "Evka - narodeniny"};
    EXPECT_EQ(phone.Summaries(), afterConflict);

    // Syncs cut short midway, then run again: nothing doubled on the server or in a day file.
    // A is cut while sending, before it saved anything of what it sent; B while taking in, its
    // state saved on the way.
    a.notes.WriteDay(1, 1, test::DayFileLines({{1, 2026, "Nový rok"}, {3, 2000, "svadba"}}));
    a.notes.WriteDay(2, 1, test::DayFileLines({{2, 0, "Ďuro"}}));
    SyncOptions cut;
    cut.afterStep = [](int step) {
        if (step == 2) {
            throw Cut{};
        }
    };
    EXPECT_THROW(a.Sync(settings, cut), Cut);
    r = a.Sync(settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    std::multiset<std::string> everything = afterConflict;
    everything.insert({"Nový rok", "svadba – výročie", "Ďuro – narodeniny"});
    EXPECT_EQ(phone.Summaries(), everything);
    cut.saveEvery = 1;
    EXPECT_THROW(b.Sync(settings, cut), Cut);
    r = b.Sync(settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    EXPECT_EQ(b.Day(1, 1), DayBytes({{1, 2026, "Nový rok"}, {3, 2000, "svadba"}}));
    EXPECT_EQ(b.Day(2, 1), DayBytes({{2, 0, "Ďuro"}}));
    EXPECT_EQ(b.Day(2, 7), DayBytes({{2, 1955, "Mami"}, {2, 1955, "Mamka"}}));
    EXPECT_EQ(b.Day(16, 12), "<none>");
    EXPECT_EQ(b.Sync(settings).Text(), "Synchronizácia s kalendárom „" + settings.calendarUrl +
                                           "“ prebehla.\nObe strany už boli rovnaké.\n");

    // A wrong password, and a server that is not there: said, and nothing changes.
    const test::FolderSnapshot notes = test::Snapshot(b.notes.TempPath());
    const test::FolderSnapshot state = test::Snapshot(b.state.Path());
    r = b.Sync(settings, {}, "wrong");
    EXPECT_NE(r.Text().find("odmietol používateľa „alice“ alebo heslo (HTTP 401)"),
              std::string::npos)
        << r.Text();
    SyncSettings stopped = settings;
    stopped.calendarUrl = "http://127.0.0.1:1" + path;
    r = b.Sync(stopped);
    EXPECT_NE(r.Text().find("127.0.0.1:1"), std::string::npos) << r.Text();
    EXPECT_FALSE(r.Succeeded());
    EXPECT_EQ(test::Snapshot(b.notes.TempPath()), notes);
    EXPECT_EQ(test::Snapshot(b.state.Path()), state);
    EXPECT_EQ(phone.Summaries(), everything);
}

} // namespace
} // namespace tilava
