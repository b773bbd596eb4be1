#include "exchange/EventMapping.h"

#include "core/Cp1250.h"
#include "exchange/CalendarExport.h"
#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <utility>

namespace tilava {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

// The VEVENT of a calendar text, from BEGIN to END.
std::string EventPart(const std::string& text) {
    const auto begin = text.find("BEGIN:VEVENT\r\n");
    const auto end = text.find("END:VEVENT\r\n");
    return begin == std::string::npos || end == std::string::npos ? ""
                                                                  : text.substr(begin, end - begin);
}

const sys_seconds kStamp = sys_days{2024y / 5 / 1} + 12h;

// The export of a notes folder whose one day file holds the one entry, and the file it wrote.
std::pair<ExportReport, std::string> ExportOne(const TNote& entry, month_day date) {
    const test::TempFolder folder("tilava-mapping");
    char name[16];
    std::snprintf(name, sizeof name, "%02u%02u.txt", static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
    test::WriteBytes(folder / name,
                     "!\r\n0\r\n" + std::to_string(static_cast<int>(entry.Druh) + 1) + "\r\n" +
                         std::to_string(entry.Rok) + "\r\n" + EncodeCp1250(entry.Text) + "\r\n");
    const test::TempFolder out("tilava-mapping-ics");
    const ExportReport report =
        ExportCalendar(folder.Path(), out / "out.ics", kStamp, ExistingExport::CalendarOnly);
    return {report, test::ReadBytes(out / "out.ics")};
}

// An entry of a day, and what is expected of it.
struct EntryRow {
    TNote entry;
    month_day date;
    std::string expected;
};

TEST(EventMappingTest, EntryComesBackFromItsEvent) {
    const std::string longText(kLongestEntryText, 'z');
    // The entry, and its text as it comes back.
    const EntryRow rows[] = {
        {{EntryKind::Narodeniny, 1980, false, "Jano"}, March / 5, "Jano"},
        {{EntryKind::Narodeniny, 0, false, "Teta"}, December / 31, "Teta"},
        {{EntryKind::Narodeniny, 2000, false, "Eva"}, May / 1, "Eva"},
        {{EntryKind::Vyrocie, 1850, false, "svadba, Peter; Eva \\ a\\n"},
         January / 1,
         "svadba, Peter; Eva \\ a\\n"},
        {{EntryKind::Vyrocie, 0, false, "ľščťžýáíé"}, June / 30, "ľščťžýáíé"},
        {{EntryKind::Narodeniny, 0, false, "Leo"}, February / 29, "Leo"},
        {{EntryKind::Narodeniny, 1980, false, "Leo"}, February / 29, "Leo"},
        {{EntryKind::Narodeniny, 1981, false, "Max"}, February / 29, "Max"},
        {{EntryKind::Poznamka, 2023, false, " \tZubár – narodeniny "},
         March / 5,
         "Zubár – narodeniny"},
        {{EntryKind::Poznamka, 2000, false, longText}, February / 29, longText},
        {{EntryKind::Poznamka, 2999, false, "Silvester"}, December / 31, "Silvester"},
        {{EntryKind::Vyrocie, 3500, false, "Ďaleko"}, March / 5, "Ďaleko"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry.Text.substr(0, 40) + " " + std::to_string(row.entry.Rok));
        const TNote& entry = row.entry;
        const std::string uid = EntryUid(entry, row.date);
        const std::string text = EventCalendarText(entry, row.date, uid, kStamp);

        // The export of a folder with this one entry writes the very same event.
        const auto [report, exported] = ExportOne(entry, row.date);
        ASSERT_TRUE(report.Succeeded());
        EXPECT_NE(EventPart(text), "");
        EXPECT_EQ(EventPart(text), EventPart(exported));
        EXPECT_EQ(text.substr(0, text.find("BEGIN:VEVENT")),
                  exported.substr(0, exported.find("X-WR-CALNAME")));

        const ReadEvent back = ReadCalendarEvent(text, false);
        EXPECT_EQ(back.kind, ReadEvent::Kind::Entry) << back.reason;
        EXPECT_EQ(back.uid, uid);
        EXPECT_EQ(back.date, row.date);
        EXPECT_EQ(back.entry, (TNote{entry.Druh, entry.Rok, true, row.expected}));
    }
}

// What the calendar on the server could not give back as it was is no event: the export lists
// it among the entries left out, and the sync cannot upload it.
TEST(EventMappingTest, EntriesThatAreNoEvents) {
    // The entry, and a part of the reason why it is no event.
    const EntryRow rows[] = {
        {{EntryKind::Poznamka, 2023, false, "nikdy"}, February / 29, "z roku 2023"},
        {{EntryKind::Poznamka, 0, false, "Zubár"}, March / 5, "z roku 0"},
        {{EntryKind::Poznamka, 3000, false, "Silvester"}, December / 31, "z roku 3000"},
        {{EntryKind::Narodeniny, 1980, false, "Jano\x01Peter"}, March / 5, "U+0001"},
        {{EntryKind::Vyrocie, 0, false, std::string(kLongestEntryText + 1, 'v')},
         March / 5,
         "32768 znakov"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        const TNote& entry = row.entry;
        const auto [report, exported] = ExportOne(entry, row.date);
        EXPECT_EQ(report.events, 0);
        EXPECT_EQ(exported.find("BEGIN:VEVENT"), std::string::npos);
        EXPECT_EQ(report.skipped.size(), 1u);
        for (const std::string& line : report.skipped) {
            EXPECT_NE(line.find(row.expected), std::string::npos) << line;
        }
        EXPECT_THROW(EventCalendarText(entry, row.date, EntryUid(entry, row.date), kStamp),
                     std::invalid_argument);
    }
}

// An event as a phone or another calendar program writes it.
std::string PhoneEvent(const std::string& lines, const std::string& uid = "UID:phone-1\r\n") {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Phone//EN\r\nBEGIN:VEVENT\r\n" + uid +
           "DTSTAMP:20240101T000000Z\r\n" + lines + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

TEST(EventMappingTest, ServerEventsThatAreNoEntries) {
    using K = ReadEvent::Kind;
    const std::string day = "DTSTART;VALUE=DATE:19850305\r\n";
    const std::string yearly = day + "RRULE:FREQ=YEARLY\r\n";
    const std::string birthday = yearly + "SUMMARY:Jano – narodeniny\r\n";
    const std::string tooLong(kLongestEntryText + 1, 'a');
    const struct {
        const char* what;
        std::string ical;
        bool yearlyAsBirthdays;
        K kind;
        // An entry as "kind year text" (0 note, 1 birthday, 2 anniversary); a part of the
        // reason of a refusal.
        std::string expected;
    } rows[] = {
        {"timed", PhoneEvent("DTSTART:20240305T100000Z\r\nSUMMARY:Zubár\r\n"), false, K::Foreign,
         ""},
        {"two days", PhoneEvent(day + "DTEND;VALUE=DATE:19850307\r\nSUMMARY:Tábor\r\n"), false,
         K::Foreign, ""},
        {"weekly", PhoneEvent(day + "RRULE:FREQ=WEEKLY\r\nSUMMARY:Jano – narodeniny\r\n"), false,
         K::Foreign, ""},
        {"yearly five times",
         PhoneEvent(day + "RRULE:FREQ=YEARLY;COUNT=5\r\nSUMMARY:Jano – narodeniny\r\n"), false,
         K::Foreign, ""},
        {"every other year",
         PhoneEvent(day + "RRULE:FREQ=YEARLY;INTERVAL=2\r\nSUMMARY:Jano – narodeniny\r\n"), false,
         K::Foreign, ""},
        {"other day of the month",
         PhoneEvent(day + "RRULE:FREQ=YEARLY;BYMONTHDAY=6\r\nSUMMARY:Jano – narodeniny\r\n"), false,
         K::Foreign, ""},
        {"rule libical cannot read",
         PhoneEvent(day + "RRULE:FREQ=YEARLY;FOO=1\r\nSUMMARY:Jano\r\n"), false, K::Foreign, ""},
        {"a year left out", PhoneEvent(birthday + "EXDATE;VALUE=DATE:19900305\r\n"), false,
         K::Entry, "1 1985 Jano"},
        {"one year moved and renamed on the phone, another left out",
         PhoneEvent(birthday + "EXDATE;VALUE=DATE:19910305\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\n"
                               "UID:phone-1\r\nRECURRENCE-ID;VALUE=DATE:19900305\r\n"
                               "DTSTART;VALUE=DATE:19900306\r\nSUMMARY:Jano oslava\r\n"),
         false, K::Entry, "1 1985 Jano"},
        {"a year changed beside a weekly series",
         PhoneEvent(day + "RRULE:FREQ=WEEKLY\r\nSUMMARY:Jano – narodeniny\r\nEND:VEVENT\r\n"
                          "BEGIN:VEVENT\r\nUID:phone-1\r\nRECURRENCE-ID;VALUE=DATE:19900305\r\n"
                          "DTSTART;VALUE=DATE:19900306\r\n"),
         false, K::Foreign, ""},
        {"a change of another event's year",
         PhoneEvent(birthday +
                    "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:phone-2\r\n"
                    "RECURRENCE-ID;VALUE=DATE:19900305\r\n" +
                    day),
         false, K::Foreign, ""},
        {"a note with its day left out",
         PhoneEvent(day + "EXDATE;VALUE=DATE:19850305\r\nSUMMARY:Zubár\r\n"), false, K::Foreign,
         ""},
        {"a note of year 0", PhoneEvent("DTSTART;VALUE=DATE:00000305\r\nSUMMARY:Zubár\r\n"), false,
         K::Foreign, ""},
        {"exception of a series", PhoneEvent(birthday + "RECURRENCE-ID;VALUE=DATE:19900305\r\n"),
         false, K::Foreign, ""},
        {"without UID", PhoneEvent(birthday, ""), false, K::Foreign, ""},
        {"carriage return in the UID", PhoneEvent(birthday, "UID:phone\r1\r\n"), false, K::Foreign,
         ""},
        {"two events", PhoneEvent(birthday + "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:2\r\n" + birthday),
         false, K::Foreign, ""},
        {"task",
         "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VTODO\r\nUID:t\r\n" + day +
             "SUMMARY:Nákup\r\nEND:VTODO\r\nEND:VCALENDAR\r\n",
         false, K::Foreign, ""},
        {"garbage", "BEGIN:VCALENDAR\r\n\x01\xFF\r\nBEGIN:", false, K::Foreign, ""},
        {"over a mebibyte",
         PhoneEvent(birthday + "DESCRIPTION:" + std::string(1 << 20, 'x') + "\r\n"), false,
         K::Foreign, ""},
        {"zero byte", PhoneEvent(birthday) + std::string("\0x", 2), false, K::Foreign, ""},
        {"yearly not a birthday", PhoneEvent(yearly + "SUMMARY:Mama\r\n"), false, K::Foreign, ""},
        {"yearly as birthday", PhoneEvent(yearly + "SUMMARY:Mama\r\n"), true, K::Entry,
         "1 1985 Mama"},
        {"typed on a phone", PhoneEvent(yearly + "SUMMARY:Jano - narodeniny\r\n"), false, K::Entry,
         "1 1985 Jano"},
        {"from 2000, a day and a rule of its own",
         PhoneEvent("DTSTART;VALUE=DATE:20000305\r\nDURATION:P1D\r\nRRULE:FREQ=YEARLY;BYMONTH=3;"
                    "BYMONTHDAY=5\r\nSUMMARY: svadba - výročie "
                    "\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n"),
         false, K::Entry, "2 2000 svadba"},
        {"Tilava's own from 2000, of a year not known",
         PhoneEvent("DTSTART;VALUE=DATE:20000305\r\nRRULE:FREQ=YEARLY\r\n"
                    "SUMMARY:Jano – narodeniny\r\n",
                    "UID:phone-1@tilava\r\n"),
         false, K::Entry, "1 0 Jano"},
        {"a phone's birthday without a year (1604)",
         PhoneEvent("DTSTART;VALUE=DATE:16040305\r\nRRULE:FREQ=YEARLY\r\n"
                    "SUMMARY:Mama - narodeniny\r\n"),
         false, K::Entry, "1 0 Mama"},
        {"a phone's birthday of year 0",
         PhoneEvent("DTSTART;VALUE=DATE:00000305\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Mama\r\n"), true,
         K::Entry, "1 0 Mama"},
        {"a phone's birthday marked without a year",
         PhoneEvent("DTSTART;VALUE=DATE;X-APPLE-OMIT-YEAR=1900:19000305\r\nRRULE:FREQ=YEARLY\r\n"
                    "SUMMARY:Mama - narodeniny\r\n"),
         false, K::Entry, "1 0 Mama"},
        {"year in the description", PhoneEvent(birthday + "DESCRIPTION:Rok narodenia: 1950\r\n"),
         false, K::Entry, "1 1950 Jano"},
        {"euro", PhoneEvent(day + "SUMMARY:Výplata €\r\n"), false, K::Entry, "0 1985 Výplata €"},
        {"emoji", PhoneEvent(day + "SUMMARY:Oslava 🎉\r\n"), false, K::Refused, "„Oslava 🎉“"},
        {"Chinese", PhoneEvent(yearly + "SUMMARY:王 – narodeniny\r\n"), false, K::Refused,
         "(U+738B)"},
        {"control character", PhoneEvent(day + "SUMMARY:Jano\x1B[2J\r\n"), false, K::Refused,
         "U+001B"},
        {"too long", PhoneEvent(day + "SUMMARY:" + tooLong + "\r\n"), false, K::Refused,
         "32768 znakov"},
        {"empty", PhoneEvent(yearly + "SUMMARY: – narodeniny\r\n"), false, K::Refused, "nemá text"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const ReadEvent r = ReadCalendarEvent(row.ical, row.yearlyAsBirthdays);
        EXPECT_EQ(r.kind, row.kind) << r.reason;
        if (row.kind == K::Entry) {
            EXPECT_EQ(r.uid.substr(0, r.uid.find('@')), "phone-1");
            EXPECT_EQ(r.date, March / 5);
            EXPECT_TRUE(r.entry.Potvrdena);
            EXPECT_EQ(std::to_string(static_cast<int>(r.entry.Druh)) + " " +
                          std::to_string(r.entry.Rok) + " " + r.entry.Text,
                      row.expected);
        }
        if (row.kind == K::Refused) {
            EXPECT_NE(r.reason.find(row.expected), std::string::npos) << r.reason;
        }
    }
}

} // namespace
} // namespace tilava
