// One user's path against two real CalDAV servers (radicale and xandikos), with a real second
// client (vdirsyncer, keeping the calendar as .ics files, as a phone would) beside two
// computers.
#include "exchange/sync/CalendarSync.h"

#include "core/Cp1250.h"
#include "exchange/sync/DavXml.h"
#include "support/CalendarServer.h"
#include "support/FileBytes.h"
#include "support/TempNotes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>

namespace tilava {
namespace {

namespace fs = std::filesystem;
using test::Entry;

std::string DayBytes(const std::vector<Entry>& entries) {
    std::string bytes;
    for (const std::string& line : test::DayFileLines(entries))
        bytes += EncodeCp1250(line) + "\r\n";
    return bytes;
}

// The day files of a notes folder: file name -> its first line and its four-line records, in
// the file's order (every computer writes a day in one order).
std::map<std::string, std::vector<std::string>> DayFiles(const fs::path& folder) {
    std::map<std::string, std::vector<std::string>> files;
    for (const fs::directory_entry& file : fs::directory_iterator(folder)) {
        if (!file.is_regular_file() || file.path().extension() != ".txt")
            continue;
        const std::string bytes = test::ReadBytes(file.path());
        std::vector<std::string> parts;
        std::size_t start = bytes.find("\r\n") + 2;
        parts.push_back(bytes.substr(0, start));
        for (int line = 0; start < bytes.size(); ++line) {
            const std::size_t end = std::min(bytes.find("\r\n", start), bytes.size() - 2) + 2;
            if (line % 4 == 0)
                parts.emplace_back();
            parts.back() += bytes.substr(start, end - start);
            start = end;
        }
        files[file.path().filename().string()] = parts;
    }
    return files;
}

// The phone: vdirsyncer syncing the calendar with a folder of .ics files.
class Phone {
public:
    explicit Phone(const std::string& calendar) {
        std::ofstream(folder_.Path() / "config")
            << "[general]\nstatus_path = \"" << (folder_.Path() / "status/").string()
            << "\"\n\n[pair phone]\na = \"phone_files\"\nb = \"phone_server\"\n"
               "collections = null\n\n[storage phone_files]\ntype = \"filesystem\"\npath = \""
            << Files().string()
            << "/\"\nfileext = \".ics\"\n\n[storage phone_server]\ntype = \"caldav\"\nurl = \""
            << calendar << "\"\nusername = \"" << test::kCalendarUser << "\"\npassword = \""
            << test::kCalendarPassword << "\"\n";
        fs::create_directories(Files());
    }

    // `vdirsyncer discover` (the first time) and `vdirsyncer sync`; false when either failed
    // or took longer than two minutes, with its output in `log`.
    bool Sync(std::string& log) {
        const fs::path output = folder_.Path() / "log";
        const std::string run =
            "timeout 120 vdirsyncer -c '" + (folder_.Path() / "config").string() + "' ";
        const std::string quiet = " </dev/null >>'" + output.string() + "' 2>&1";
        const bool done = (discovered_ || std::system((run + "discover" + quiet).c_str()) == 0) &&
                          std::system((run + "sync" + quiet).c_str()) == 0;
        discovered_ = true;
        log = test::ReadBytes(output);
        return done;
    }

    fs::path Files() const { return folder_.Path() / "calendar"; }

    // The event file whose text holds `part`; empty when none does.
    fs::path FileHolding(const std::string& part) const {
        for (const fs::directory_entry& file : fs::directory_iterator(Files()))
            if (test::ReadBytes(file.path()).find(part) != std::string::npos)
                return file.path();
        return {};
    }

    int Count() const {
        return static_cast<int>(std::distance(fs::directory_iterator(Files()), {}));
    }

private:
    test::TempFolder folder_{"tilava-phone"};
    bool discovered_ = false;
};

struct Computer {
    test::TempNotesFolder notes;
    test::TempFolder state{"tilava-sync-state"};

    SyncReport Sync(const SyncSettings& settings) {
        const auto client = CreateHttpClient(settings.user, test::kCalendarPassword);
        return RunCalendarSync(notes.TempPath(), state.Path(), settings, *client);
    }
    std::string Day(int d, int m) const {
        return fs::exists(notes.Subor(d, m)) ? test::ReadBytes(notes.Subor(d, m)) : "<none>";
    }
};

// How many events the calendar holds, as the server lists them.
int EventsOnServer(HttpClient& client, const std::string& calendar) {
    const HttpResponse answer =
        client.Send({"REPORT",
                     calendar,
                     {{"Depth", "1"}, {"Content-Type", "application/xml; charset=utf-8"}},
                     "<C:calendar-query xmlns:D=\"DAV:\" xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                     "<D:prop><D:getetag/></D:prop><C:filter><C:comp-filter name=\"VCALENDAR\">"
                     "<C:comp-filter name=\"VEVENT\"/></C:comp-filter></C:filter>"
                     "</C:calendar-query>"});
    if (answer.status != 207)
        return -answer.status;
    int events = 0;
    for (const DavMember& member : ReadMultiStatus(answer.body).members)
        events += member.href.ends_with(".ics") ? 1 : 0;
    return events;
}

std::string PhoneEvent(const std::string& uid, const std::string& lines) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20260101T000000Z\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

void ReplaceInFile(const fs::path& file, const std::string& from, const std::string& to) {
    std::string text = test::ReadBytes(file);
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << file << " holds no " << from;
    text.replace(at, from.size(), to);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

struct Server {
    const char* name;
    std::optional<std::string> url;
    std::string calendars; // the folder of the user's calendars
};

TEST(CalendarSyncInteropPosix, TwoComputersAndAPhoneOnEachServer) {
    const std::vector<Server> servers = {
        {"radicale", test::CalendarServerUrl(), "/alice/"},
        {"xandikos", test::XandikosServerUrl(), "/alice/calendars/"},
    };
    for (const Server& server : servers) {
        SCOPED_TRACE(server.name);
        if (!server.url)
            GTEST_SKIP() << "runs under the CTest fixture calendar_server";
        std::random_device random;
        const std::string calendar = *server.url + server.calendars + "interop-" +
                                     std::to_string(random()) + std::to_string(random()) + "/";
        const SyncSettings settings{calendar, test::kCalendarUser, 0, false};
        const auto client = CreateHttpClient(test::kCalendarUser, test::kCalendarPassword);
        ASSERT_EQ(client->Send({"MKCALENDAR", calendar, {}, ""}).status, 201);
        Computer a;
        Computer b;
        Phone phone(calendar);
        std::string log;

        // A's entries go up: two on one day, a birthday whose year is not known.
        a.notes.WriteDay(15, 3, test::DayFileLines({{2, 1980, "Jano"}}));
        a.notes.WriteDay(1, 4, test::DayFileLines({{2, 1970, "Eva"}, {1, 2026, "zubár"}}));
        a.notes.WriteDay(24, 12, test::DayFileLines({{3, 2000, "svadba"}}));
        a.notes.WriteDay(20, 6, test::DayFileLines({{2, 0, "Ďuro"}}));
        SyncReport r = a.Sync(settings);
        EXPECT_TRUE(r.Succeeded()) << r.Text();
        EXPECT_EQ(r.uploaded, 5) << r.Text();
        EXPECT_EQ(EventsOnServer(*client, calendar), 5);

        // The phone takes them, renames Jano's birthday, adds one of its own and a note of a
        // single day, and deletes the anniversary.
        ASSERT_TRUE(phone.Sync(log)) << log;
        EXPECT_EQ(phone.Count(), 5) << log;
        ReplaceInFile(phone.FileHolding("SUMMARY:Jano – narodeniny"), "SUMMARY:Jano",
                      "SUMMARY:Janko");
        std::ofstream(phone.Files() / "mama.ics", std::ios::binary)
            << PhoneEvent("phone-mama", "DTSTART;VALUE=DATE:19550702\r\nRRULE:FREQ=YEARLY\r\n"
                                        "SUMMARY:Mama - narodeniny\r\n");
        std::ofstream(phone.Files() / "service.ics", std::ios::binary)
            << PhoneEvent("phone-service", "DTSTART;VALUE=DATE:20260310\r\n"
                                           "SUMMARY:Servis auta\r\n");
        const fs::path wedding = phone.FileHolding("SUMMARY:svadba – výročie");
        ASSERT_FALSE(wedding.empty());
        fs::remove(wedding);
        ASSERT_TRUE(phone.Sync(log)) << log;
        EXPECT_EQ(EventsOnServer(*client, calendar), 6);

        // A takes the phone's changes in.
        r = a.Sync(settings);
        EXPECT_TRUE(r.Succeeded()) << r.Text();
        EXPECT_EQ(r.added, 3) << r.Text();
        EXPECT_EQ(r.removed, 2) << r.Text();
        EXPECT_EQ(r.uploaded + r.deleted, 0) << r.Text();
        EXPECT_EQ(a.Day(15, 3), DayBytes({{2, 1980, "Janko"}}));
        EXPECT_EQ(a.Day(1, 4), DayBytes({{2, 1970, "Eva"}, {1, 2026, "zubár"}}));
        EXPECT_EQ(a.Day(24, 12), "<none>");
        EXPECT_EQ(a.Day(20, 6), DayBytes({{2, 0, "Ďuro"}}));
        EXPECT_EQ(a.Day(2, 7), DayBytes({{2, 1955, "Mama"}}));
        EXPECT_EQ(a.Day(10, 3), DayBytes({{1, 2026, "Servis auta"}}));
        EXPECT_EQ(EventsOnServer(*client, calendar), 6);

        // B, a second computer, starts from the calendar and ends with A's very files.
        r = b.Sync(settings);
        EXPECT_TRUE(r.Succeeded()) << r.Text();
        EXPECT_EQ(r.added, 6) << r.Text();
        EXPECT_EQ(r.uploaded, 0) << r.Text();
        EXPECT_EQ(DayFiles(b.notes.TempPath()), DayFiles(a.notes.TempPath()));
        EXPECT_EQ(EventsOnServer(*client, calendar), 6);
        ASSERT_TRUE(phone.Sync(log)) << log;
        EXPECT_EQ(phone.Count(), 6);
    }
}

} // namespace
} // namespace tilava
