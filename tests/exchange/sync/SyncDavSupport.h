#pragma once

// What the sync tests against a real server share: the phone, the computers, their days.

#include "core/Cp1250.h"
#include "exchange/EventMapping.h"
#include "exchange/sync/CalendarSync.h"
#include "exchange/sync/DavXml.h"
#include "exchange/sync/RemovedEntries.h"
#include "exchange/sync/SyncState.h"
#include "support/CalendarServer.h"
#include "support/FileBytes.h"
#include "support/TempNotes.h"
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <stdexcept>

namespace tilava::davtest {

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

inline std::string Event(const std::string& uid, const std::string& lines) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\nUID:" + uid +
           "\r\nDTSTAMP:20260101T000000Z\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

inline std::string DayBytes(const std::vector<Entry>& entries) {
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
    SyncReport SyncThrough(HttpClient& client, const SyncSettings& settings) {
        return RunCalendarSync(notes.TempPath(), state.Path(), settings, client, {});
    }
    std::string Day(int d, int m) const {
        return std::filesystem::exists(notes.Subor(d, m)) ? test::ReadBytes(notes.Subor(d, m))
                                                          : "<none>";
    }
};

// A new calendar of its own on the test server; nothing outside the fixture calendar_server.
inline std::optional<SyncSettings> NewCalendar() {
    const std::optional<std::string> server = test::CalendarServerUrl();
    if (!server) {
        return std::nullopt;
    }
    std::random_device random;
    const std::string path = std::string("/") + test::kCalendarUser + "/sync-" +
                             std::to_string(random()) + std::to_string(random()) + "/";
    // The sync never makes a calendar: the phone makes it, as a user's other program would.
    if (const int made = Phone(*server + path).Make(); made != 201) {
        ADD_FAILURE() << "the test server made no calendar: HTTP " << made;
        return std::nullopt;
    }
    return SyncSettings{*server + path, test::kCalendarUser, 0, false};
}

inline std::string Alike(const SyncSettings& settings) {
    return "Synchronizácia s kalendárom „" + settings.calendarUrl +
           "“ prebehla.\nObe strany už boli rovnaké.\n";
}

} // namespace tilava::davtest
