#include "exchange/CalendarExport.h"

#include "support/FileBytes.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <libical/ical.h>

#include <map>
#include <set>

namespace tilava {
namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

const char* const kDlhy = "Ľudmila Šťastná-Žltovská z Dolného Kubína, Ružomberka a okolia";

// A notes folder of known day files (Windows-1250, CR LF), one of them broken at line 4.
void WriteDays(const test::TempFolder& folder) {
    test::WriteBytes(folder / "0305.txt", "!\r\n"
                                          "-1\r\n2\r\n1980\r\nJano\r\n"
                                          "-1\r\n1\r\n2009\r\nZub\xE1r\r\n"
                                          "-1\r\n3\r\n2001\r\nsvadba, Peter; Eva\r\n"
                                          "0\r\n2\r\n0\r\n\r\n"
                                          "-1\r\n2\r\n1980\r\nJano\r\n");
    test::WriteBytes(folder / "0229.txt", "!\r\n"
                                          "-1\r\n2\r\n1981\r\nLeo\r\n"
                                          "-1\r\n1\r\n2023\r\nnikdy\r\n");
    test::WriteBytes(folder / "1231.txt", "x\r\n-1\r\n2\r\n0\r\nTeta\r\n");
    test::WriteBytes(folder / "0101.txt",
                     "!\r\n-1\r\n3\r\n1950\r\n\xBC"
                     "udmila \x8A\x9D"
                     "astn\xE1-\x8Eltovsk\xE1 z Doln\xE9ho Kub\xEDna, Ru\x9Eomberka a okolia\r\n");
    test::WriteBytes(folder / "0601.txt", "!\r\n-1\r\n2\r\nrok\r\nEva\r\n");
}

struct Event {
    std::string uid, start, end, repeat, description;
};

std::string StoredValue(icalcomponent* event, icalproperty_kind kind) {
    icalproperty* p = icalcomponent_get_first_property(event, kind);
    return p ? icalproperty_get_value_as_string(p) : "";
}

// The events of the written file as libical reads them back, by summary.
std::map<std::string, Event> ReadEvents(const std::string& text) {
    std::map<std::string, Event> events;
    icalcomponent* calendar = icalparser_parse_string(text.c_str());
    EXPECT_NE(calendar, nullptr);
    if (!calendar) {
        return events;
    }
    EXPECT_EQ(icalcomponent_isa(calendar), ICAL_VCALENDAR_COMPONENT);
    EXPECT_NE(StoredValue(calendar, ICAL_PRODID_PROPERTY), "");
    for (icalcomponent* u = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); u;
         u = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        EXPECT_TRUE(icaltime_is_date(icalcomponent_get_dtstart(u)));
        EXPECT_TRUE(icaltime_is_date(icalcomponent_get_dtend(u)));
        EXPECT_NE(StoredValue(u, ICAL_DTSTAMP_PROPERTY), "");
        const std::string summary = icalcomponent_get_summary(u);
        EXPECT_EQ(events.count(summary), 0u) << summary;
        events[summary] = {StoredValue(u, ICAL_UID_PROPERTY), StoredValue(u, ICAL_DTSTART_PROPERTY),
                           StoredValue(u, ICAL_DTEND_PROPERTY), StoredValue(u, ICAL_RRULE_PROPERTY),
                           StoredValue(u, ICAL_DESCRIPTION_PROPERTY)};
    }
    icalcomponent_free(calendar);
    return events;
}

TEST(CalendarExportTest, EventsOfTheDayFiles) {
    const test::TempFolder folder("tilava-export");
    const test::TempFolder von("tilava-ics");
    WriteDays(folder);
    const ExportReport r =
        ExportCalendar(folder.Path(), von / "Tilava.ics", sys_days{2024y / 5 / 1} + 12h,
                       ExistingExport::CalendarOnly);
    const std::string text = test::ReadBytes(von / "Tilava.ics");
    const std::map<std::string, Event> events = ReadEvents(text);

    const struct {
        std::string summary;
        const char *start, *end, *repeat, *description;
    } expected[] = {
        {"Jano – narodeniny", "19800305", "19800306", "FREQ=YEARLY", "Rok narodenia: 1980"},
        {"Zubár", "20090305", "20090306", "", ""},
        {"svadba, Peter; Eva – výročie", "20010305", "20010306", "FREQ=YEARLY",
         "Rok udalosti: 2001"},
        // 1981 had no 29 February: from the first one after it, in leap years.
        {"Leo – narodeniny", "19840229", "19840301", "FREQ=YEARLY", "Rok narodenia: 1981"},
        // A birthday whose year is not known.
        {"Teta – narodeniny", "20001231", "20010101", "FREQ=YEARLY", ""},
        {std::string(kDlhy) + " – výročie", "19500101", "19500102", "FREQ=YEARLY",
         "Rok udalosti: 1950"},
    };
    EXPECT_EQ(events.size(), std::size(expected));
    EXPECT_EQ(r.events, static_cast<int>(std::size(expected)));
    std::set<std::string> uid;
    for (const auto& o : expected) {
        SCOPED_TRACE(o.summary);
        const auto it = events.find(o.summary);
        ASSERT_NE(it, events.end());
        EXPECT_EQ(it->second.start, o.start);
        EXPECT_EQ(it->second.end, o.end);
        EXPECT_EQ(it->second.repeat, o.repeat);
        EXPECT_EQ(it->second.description, o.description);
        EXPECT_TRUE(it->second.uid.ends_with("@tilava")) << it->second.uid;
        uid.insert(it->second.uid);
    }
    EXPECT_EQ(uid.size(), std::size(expected)) << "every entry has a UID of its own";
    // What calendars read: all-day values, lines in CR LF.
    EXPECT_NE(text.find("\r\nDTSTART;VALUE=DATE:19800305\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nDTEND;VALUE=DATE:19800306\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nDTSTAMP:20240501T120000Z\r\n"), std::string::npos);

    // The empty entry is no event, the second Jano is the first; the note of 29 February 2023
    // and the broken day file are reported, so the export is not a success.
    EXPECT_EQ(r.withoutText, 1);
    EXPECT_EQ(r.same, 1);
    EXPECT_EQ(r.skipped.size(), 1u);
    EXPECT_TRUE(r.written);
    EXPECT_FALSE(r.Succeeded());
    EXPECT_EQ(r.unread, std::vector<std::string>{"0601.txt"});
    ASSERT_EQ(r.errors.size(), 1u);
    EXPECT_NE(r.errors[0].find("0601.txt"), std::string::npos) << r.errors[0];
    EXPECT_NE(r.errors[0].find("0601.txt“, riadok 4:"), std::string::npos) << r.errors[0];
    EXPECT_NE(r.Text(von / "Tilava.ics").find("Vynechané súbory dní: 0601.txt"), std::string::npos);

    // A second export later gives every entry the same UID, so a calendar updates its events;
    // an entry whose text changed is a new event.
    test::WriteBytes(folder / "0601.txt", "!\r\n-1\r\n2\r\n1990\r\nEva\r\n");
    test::WriteBytes(folder / "1231.txt", "x\r\n-1\r\n2\r\n0\r\nTeta Mara\r\n");
    const ExportReport r2 = ExportCalendar(folder.Path(), von / "Tilava.ics",
                                           sys_days{2025y / 1 / 2}, ExistingExport::CalendarOnly);
    EXPECT_TRUE(r2.Succeeded()) << r2.Text(von / "Tilava.ics");
    const std::map<std::string, Event> secondOne = ReadEvents(test::ReadBytes(von / "Tilava.ics"));
    EXPECT_EQ(secondOne.size(), std::size(expected) + 1);
    for (const auto& [summary, u] : events) {
        if (summary != "Teta – narodeniny") {
            ASSERT_EQ(secondOne.count(summary), 1u) << summary;
            EXPECT_EQ(secondOne.at(summary).uid, u.uid) << summary;
        }
    }
    ASSERT_EQ(secondOne.count("Teta Mara – narodeniny"), 1u);
    EXPECT_FALSE(uid.contains(secondOne.at("Teta Mara – narodeniny").uid));
}

TEST(CalendarExportTest, FileThatCannotBeWrittenIsAFailure) {
    const test::TempFolder folder("tilava-export");
    WriteDays(folder);
    const test::TempFolder von("tilava-export-von");
    const std::filesystem::path subor = von / "chyba" / "Tilava.ics";
    const ExportReport r =
        ExportCalendar(folder.Path(), subor, sys_days{2024y / 5 / 1}, ExistingExport::CalendarOnly);
    EXPECT_FALSE(r.written);
    EXPECT_FALSE(r.Succeeded());
    EXPECT_EQ(r.Text(subor).rfind("Kalendár sa neuložil.", 0), 0u) << r.Text(subor);
    EXPECT_FALSE(std::filesystem::exists(subor));
}

} // namespace
} // namespace tilava
