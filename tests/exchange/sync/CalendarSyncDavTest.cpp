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
    // In the order of A's day file, where A had Mamka first.
    EXPECT_EQ(b.Day(2, 7), a.Day(2, 7));
    EXPECT_EQ(b.Day(2, 7), DayBytes({{2, 1955, "Mamka"}, {2, 1955, "Mami"}}));
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

TEST(CalendarSyncDav, AnEmptiedCalendarRemovesNothingUntilTheUserAgrees) {
    const std::optional<SyncSettings> settings = NewCalendar();
    if (!settings) {
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
    }
    Phone phone(settings->calendarUrl);
    Computer a;
    a.notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}, {3, 2001, "svadba"}}));
    a.notes.WriteDay(16, 12, test::DayFileLines({{1, 2026, "zubár"}}));
    EXPECT_EQ(a.Sync(*settings).uploaded, 3);
    const std::string march = a.Day(15, 3);
    const std::string december = a.Day(16, 12);

    // The calendar is emptied on the server; the phone adds one birthday.
    for (const auto& [name, summary] : phone.Events()) {
        EXPECT_EQ(phone.Delete(name), 200) << summary;
    }
    EXPECT_EQ(phone.Put("mama.ics", Event("phone-1", "DTSTART;VALUE=DATE:19550702\r\n"
                                                     "RRULE:FREQ=YEARLY\r\n"
                                                     "SUMMARY:Mama - narodeniny\r\n")),
              201);
    std::vector<std::pair<int, int>> progress;
    SyncOptions watched;
    watched.progress = [&](int done, int total) { progress.emplace_back(done, total); };
    for (int round = 0; round < 2; ++round) {
        // Nothing removed, the addition made; the next sync asks again.
        const SyncReport r = a.Sync(*settings, watched);
        EXPECT_TRUE(r.Succeeded()) << r.Text();
        EXPECT_EQ(r.withheld, 3) << r.Text();
        EXPECT_EQ(r.removed, 0) << r.Text();
        EXPECT_NE(r.Text().find("--sync-allow-removals"), std::string::npos) << r.Text();
        EXPECT_EQ(r.Text().find("Obe strany"), std::string::npos) << r.Text();
        EXPECT_EQ(a.Day(15, 3), march);
        EXPECT_EQ(a.Day(16, 12), december);
        EXPECT_EQ(a.Day(2, 7), DayBytes({{2, 1955, "Mama"}}));
    }
    EXPECT_EQ(progress.front(), std::make_pair(0, 1));
    EXPECT_EQ(progress[1], std::make_pair(1, 1));
    EXPECT_EQ(progress.back(), std::make_pair(0, 0));
    EXPECT_FALSE(std::filesystem::exists(a.state.Path() / kRemovedEntriesName));

    // The user agrees: the entries go, and are kept where the user can take them back from.
    SyncOptions allowed;
    allowed.allowManyRemovals = true;
    SyncReport r = a.Sync(*settings, allowed);
    EXPECT_EQ(r.removed, 3) << r.Text();
    EXPECT_EQ(r.withheld, 0) << r.Text();
    EXPECT_EQ(a.Day(15, 3), "<none>");
    EXPECT_EQ(a.Day(16, 12), "<none>");
    const std::string kept = test::ReadBytes(a.state.Path() / kRemovedEntriesName);
    for (const char* record : {" z dňa 15. 3. (0315.txt):\n-1\n2\n1980\nJano\n\n",
                               " z dňa 15. 3. (0315.txt):\n-1\n3\n2001\nsvadba\n\n",
                               " z dňa 16. 12. (1216.txt):\n-1\n1\n2026\nzubár\n\n"}) {
        EXPECT_NE(kept.find(record), std::string::npos) << kept;
    }
    EXPECT_EQ(a.Sync(*settings).Text(), Alike(*settings));
    EXPECT_EQ(phone.Summaries(), std::multiset<std::string>{"Mama - narodeniny"});
}

// The test server's answers, with the ETag of every answer to a PUT taken out; every DELETE is
// checked to be conditional.
class NoEtagOnUpload : public HttpClient {
public:
    HttpResponse Send(const HttpRequest& request) override {
        HttpResponse answer = client_->Send(request);
        if (request.method == "PUT") {
            answer.etag.clear();
        }
        if (request.method == "DELETE") {
            bool conditional = false;
            for (const HttpHeader& h : request.headers) {
                conditional = conditional || (h.name == "If-Match" && !h.value.empty());
            }
            EXPECT_TRUE(conditional) << request.url;
        }
        return answer;
    }

private:
    std::unique_ptr<HttpClient> client_ =
        CreateHttpClient(test::kCalendarUser, test::kCalendarPassword);
};

TEST(CalendarSyncDav, ADeletedEntryStaysDeletedWhateverTheEtags) {
    const std::optional<SyncSettings> settings = NewCalendar();
    if (!settings) {
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
    }
    Phone phone(settings->calendarUrl);
    Computer a;
    NoEtagOnUpload client;
    a.notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}, {3, 2001, "svadba"}}));
    a.notes.WriteDay(16, 12, test::DayFileLines({{1, 2026, "zubár"}}));
    EXPECT_EQ(a.SyncThrough(client, *settings).uploaded, 3);

    // The phone stores svadba's event again as it is: a new etag, the same entry.
    const TNote svadba{EntryKind::Vyrocie, 2001, true, "svadba"};
    const std::string uid = EntryUid(svadba, std::chrono::March / 15);
    EXPECT_EQ(phone.Put(phone.NameOf("svadba – výročie"),
                        EventCalendarText(svadba, std::chrono::March / 15, uid,
                                          std::chrono::sys_seconds{std::chrono::hours{1}}),
                        true),
              201);

    // Jano (uploaded without an etag) and svadba (stored anew) are deleted in the notes.
    a.notes.WriteDay(15, 3, test::DayFileLines({}));
    SyncReport r = a.SyncThrough(client, *settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    EXPECT_EQ(r.deleted, 2) << r.Text();
    EXPECT_EQ(r.added, 0) << r.Text();
    EXPECT_EQ(a.Day(15, 3), DayBytes({}));
    EXPECT_EQ(phone.Summaries(), std::multiset<std::string>{"zubár"});
    EXPECT_EQ(a.SyncThrough(client, *settings).Text(), Alike(*settings));

    // A state that knows no etag of zubár's event (the server's listing holds nothing new):
    // the deletion reads the event first and is sent on condition all the same.
    const auto stateFile = a.state.Path() / kSyncStateName;
    SyncState state = LoadSyncState(stateFile, settings->calendarUrl, settings->user);
    for (auto& [href, known] : state.events) {
        known.etag.clear();
    }
    SaveSyncState(stateFile, state);
    std::filesystem::remove(a.notes.Subor(16, 12));
    r = a.SyncThrough(client, *settings);
    EXPECT_EQ(r.deleted, 1) << r.Text();
    EXPECT_TRUE(phone.Summaries().empty());
}

TEST(CalendarSyncDav, AnEntryTypedAgainAfterThePhoneRenamedItsEventReachesTheServer) {
    const std::optional<SyncSettings> settings = NewCalendar();
    if (!settings) {
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
    }
    Phone phone(settings->calendarUrl);
    Computer a;
    a.notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}, {3, 2001, "svadba"}}));
    EXPECT_EQ(a.Sync(*settings).uploaded, 2);
    const TNote jano{EntryKind::Narodeniny, 1980, true, "Jano"};
    const TNote svadba{EntryKind::Vyrocie, 2001, true, "svadba"};
    const std::string janoUid = EntryUid(jano, std::chrono::March / 15);
    const std::string svadbaUid = EntryUid(svadba, std::chrono::March / 15);

    // The phone renames Jano's event to Janko, and svadba's to a text no day file can hold.
    EXPECT_EQ(phone.Put(phone.NameOf("Jano – narodeniny"),
                        Event(janoUid, "DTSTART;VALUE=DATE:19800315\r\nRRULE:FREQ=YEARLY\r\n"
                                       "SUMMARY:Janko – narodeniny\r\n"),
                        true),
              201);
    EXPECT_EQ(phone.Put(phone.NameOf("svadba – výročie"),
                        Event(svadbaUid, "DTSTART;VALUE=DATE:20010315\r\nRRULE:FREQ=YEARLY\r\n"
                                         "SUMMARY:svadba 💍 – výročie\r\n"),
                        true),
              201);
    SyncReport r = a.Sync(*settings);
    EXPECT_EQ(r.refused.size(), 1u) << r.Text();
    EXPECT_EQ(a.Day(15, 3), DayBytes({{3, 2001, "svadba"}, {2, 1980, "Janko"}}));

    // The user types Jano again: both entries go up beside the phone's events, once.
    a.notes.WriteDay(
        15, 3, test::DayFileLines({{3, 2001, "svadba"}, {2, 1980, "Janko"}, {2, 1980, "Jano"}}));
    r = a.Sync(*settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    EXPECT_EQ(r.uploaded, 1) << r.Text();
    EXPECT_EQ(r.waiting, 0) << r.Text();
    EXPECT_EQ(a.Sync(*settings).Text(), Alike(*settings));
    EXPECT_EQ(phone.Summaries(),
              (std::multiset<std::string>{"Janko – narodeniny", "Jano – narodeniny",
                                          "svadba 💍 – výročie", "svadba – výročie"}));
    EXPECT_EQ(a.Day(15, 3), DayBytes({{3, 2001, "svadba"}, {2, 1980, "Janko"}, {2, 1980, "Jano"}}));
}

TEST(CalendarSyncDav, ASecondComputersFirstSyncKeepsThePhonesEditAndItsOwnText) {
    const std::optional<SyncSettings> settings = NewCalendar();
    if (!settings) {
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
    }
    Phone phone(settings->calendarUrl);
    Computer a;
    Computer b;
    a.notes.WriteDay(2, 7, test::DayFileLines({{2, 1955, "Mama"}}));
    b.notes.WriteDay(2, 7, test::DayFileLines({{2, 1955, "Mama"}}));
    EXPECT_EQ(a.Sync(*settings).uploaded, 1);
    const TNote mama{EntryKind::Narodeniny, 1955, true, "Mama"};
    EXPECT_EQ(phone.Put(phone.NameOf("Mama – narodeniny"),
                        Event(EntryUid(mama, std::chrono::July / 2),
                              "DTSTART;VALUE=DATE:19550702\r\nRRULE:FREQ=YEARLY\r\n"
                              "SUMMARY:Mami – narodeniny\r\n"),
                        true),
              201);
    const SyncReport r = b.Sync(*settings);
    EXPECT_TRUE(r.Succeeded()) << r.Text();
    EXPECT_EQ(r.conflicts.size(), 1u) << r.Text();
    EXPECT_EQ(b.Day(2, 7), DayBytes({{2, 1955, "Mama"}, {2, 1955, "Mami"}}));
    EXPECT_EQ(phone.Summaries(),
              (std::multiset<std::string>{"Mami – narodeniny", "Mama – narodeniny"}));
    EXPECT_EQ(b.Sync(*settings).Text(), Alike(*settings));
}

TEST(CalendarSyncDav, EveryComputerHasTheDayInOneOrderAndTheReportOneLineAnEvent) {
    const std::optional<SyncSettings> settings = NewCalendar();
    if (!settings) {
        GTEST_SKIP() << "runs under the CTest fixture calendar_server";
    }
    Phone phone(settings->calendarUrl);
    Computer a;
    Computer b;
    a.notes.WriteDay(15, 3,
                     test::DayFileLines({{2, 1980, "Zora"}, {1, 2026, "Adam"}, {3, 2001, "Eva"}}));
    SyncReport r = a.Sync(*settings);
    EXPECT_EQ(r.uploaded, 3) << r.Text();
    EXPECT_EQ(phone.Put("p1.ics", Event("phone-1", "DTSTART;VALUE=DATE:19910315\r\n"
                                                   "RRULE:FREQ=YEARLY\r\n"
                                                   "SUMMARY:Ada - narodeniny\r\n")),
              201);
    EXPECT_EQ(phone.Put("p2.ics", Event("phone-2", "DTSTART;VALUE=DATE:19900315\r\n"
                                                   "RRULE:FREQ=YEARLY\r\n"
                                                   "SUMMARY:Bea - narodeniny\r\n")),
              201);
    // A summary whose line feed would start a line of the report of its own.
    EXPECT_EQ(phone.Put("p3.ics", Event("phone-3", "DTSTART;VALUE=DATE:19920315\r\n"
                                                   "RRULE:FREQ=YEARLY\r\nSUMMARY:Cyril\\n"
                                                   "Chyby: heslo - narodeniny\r\n")),
              201);
    r = a.Sync(*settings);
    EXPECT_EQ(r.added, 2) << r.Text();
    EXPECT_EQ(r.refused.size(), 1u) << r.Text();
    EXPECT_NE(r.Text().find("Cyril\\nChyby: heslo"), std::string::npos) << r.Text();
    EXPECT_EQ(r.Text().find("\nChyby: heslo"), std::string::npos) << r.Text();
    // B, where the entries come all at once, has them as A, where they came one by one.
    r = b.Sync(*settings);
    EXPECT_EQ(r.added, 5) << r.Text();
    EXPECT_EQ(b.Day(15, 3), a.Day(15, 3));
    EXPECT_EQ(a.Day(15, 3), DayBytes({{2, 1980, "Zora"},
                                      {1, 2026, "Adam"},
                                      {3, 2001, "Eva"},
                                      {2, 1990, "Bea"},
                                      {2, 1991, "Ada"}}));
}

} // namespace
} // namespace tilava
