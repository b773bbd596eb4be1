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
void ZapisDni(const test::TempFolder& priecinok) {
    test::WriteBytes(priecinok / "0305.txt", "!\r\n"
                                             "-1\r\n2\r\n1980\r\nJano\r\n"
                                             "-1\r\n1\r\n2009\r\nZub\xE1r\r\n"
                                             "-1\r\n3\r\n2001\r\nsvadba, Peter; Eva\r\n"
                                             "0\r\n2\r\n0\r\n\r\n"
                                             "-1\r\n2\r\n1980\r\nJano\r\n");
    test::WriteBytes(priecinok / "0229.txt", "!\r\n"
                                             "-1\r\n2\r\n1981\r\nLeo\r\n"
                                             "-1\r\n1\r\n2023\r\nnikdy\r\n");
    test::WriteBytes(priecinok / "1231.txt", "x\r\n-1\r\n2\r\n0\r\nTeta\r\n");
    test::WriteBytes(priecinok / "0101.txt",
                     "!\r\n-1\r\n3\r\n1950\r\n\xBC"
                     "udmila \x8A\x9D"
                     "astn\xE1-\x8Eltovsk\xE1 z Doln\xE9ho Kub\xEDna, Ru\x9Eomberka a okolia\r\n");
    test::WriteBytes(priecinok / "0601.txt", "!\r\n-1\r\n2\r\nrok\r\nEva\r\n");
}

struct Udalost {
    std::string uid, zaciatok, koniec, opakovanie, opis;
};

std::string Hodnota(icalcomponent* udalost, icalproperty_kind druh) {
    icalproperty* p = icalcomponent_get_first_property(udalost, druh);
    return p ? icalproperty_get_value_as_string(p) : "";
}

// The events of the written file as libical reads them back, by summary.
std::map<std::string, Udalost> Precitaj(const std::string& text) {
    std::map<std::string, Udalost> udalosti;
    icalcomponent* kalendar = icalparser_parse_string(text.c_str());
    EXPECT_NE(kalendar, nullptr);
    if (!kalendar) {
        return udalosti;
    }
    EXPECT_EQ(icalcomponent_isa(kalendar), ICAL_VCALENDAR_COMPONENT);
    EXPECT_NE(Hodnota(kalendar, ICAL_PRODID_PROPERTY), "");
    for (icalcomponent* u = icalcomponent_get_first_component(kalendar, ICAL_VEVENT_COMPONENT); u;
         u = icalcomponent_get_next_component(kalendar, ICAL_VEVENT_COMPONENT)) {
        EXPECT_TRUE(icaltime_is_date(icalcomponent_get_dtstart(u)));
        EXPECT_TRUE(icaltime_is_date(icalcomponent_get_dtend(u)));
        EXPECT_NE(Hodnota(u, ICAL_DTSTAMP_PROPERTY), "");
        const std::string zhrnutie = icalcomponent_get_summary(u);
        EXPECT_EQ(udalosti.count(zhrnutie), 0u) << zhrnutie;
        udalosti[zhrnutie] = {Hodnota(u, ICAL_UID_PROPERTY), Hodnota(u, ICAL_DTSTART_PROPERTY),
                              Hodnota(u, ICAL_DTEND_PROPERTY), Hodnota(u, ICAL_RRULE_PROPERTY),
                              Hodnota(u, ICAL_DESCRIPTION_PROPERTY)};
    }
    icalcomponent_free(kalendar);
    return udalosti;
}

TEST(CalendarExportTest, EventsOfTheDayFiles) {
    const test::TempFolder priecinok("tilava-export");
    const test::TempFolder von("tilava-ics");
    ZapisDni(priecinok);
    const ExportReport r =
        ExportCalendar(priecinok.Path(), von / "Tilava.ics", sys_days{2024y / 5 / 1} + 12h,
                       ExistingExport::CalendarOnly);
    const std::string text = test::ReadBytes(von / "Tilava.ics");
    const std::map<std::string, Udalost> udalosti = Precitaj(text);

    const struct {
        std::string zhrnutie;
        const char *zaciatok, *koniec, *opakovanie, *opis;
    } ocakavane[] = {
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
    EXPECT_EQ(udalosti.size(), std::size(ocakavane));
    EXPECT_EQ(r.udalosti, static_cast<int>(std::size(ocakavane)));
    std::set<std::string> uid;
    for (const auto& o : ocakavane) {
        SCOPED_TRACE(o.zhrnutie);
        const auto it = udalosti.find(o.zhrnutie);
        ASSERT_NE(it, udalosti.end());
        EXPECT_EQ(it->second.zaciatok, o.zaciatok);
        EXPECT_EQ(it->second.koniec, o.koniec);
        EXPECT_EQ(it->second.opakovanie, o.opakovanie);
        EXPECT_EQ(it->second.opis, o.opis);
        EXPECT_TRUE(it->second.uid.ends_with("@tilava")) << it->second.uid;
        uid.insert(it->second.uid);
    }
    EXPECT_EQ(uid.size(), std::size(ocakavane)) << "every entry has a UID of its own";
    // What calendars read: all-day values, lines in CR LF.
    EXPECT_NE(text.find("\r\nDTSTART;VALUE=DATE:19800305\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nDTEND;VALUE=DATE:19800306\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nDTSTAMP:20240501T120000Z\r\n"), std::string::npos);

    // The empty entry is no event, the second Jano is the first; the note of 29 February 2023
    // and the broken day file are reported, so the export is not a success.
    EXPECT_EQ(r.bezTextu, 1);
    EXPECT_EQ(r.rovnake, 1);
    EXPECT_EQ(r.preskocene.size(), 1u);
    EXPECT_TRUE(r.zapisany);
    EXPECT_FALSE(r.Uspech());
    EXPECT_EQ(r.neprecitane, std::vector<std::string>{"0601.txt"});
    ASSERT_EQ(r.chyby.size(), 1u);
    EXPECT_NE(r.chyby[0].find("0601.txt"), std::string::npos) << r.chyby[0];
    EXPECT_NE(r.chyby[0].find("0601.txt“, riadok 4:"), std::string::npos) << r.chyby[0];
    EXPECT_NE(r.Text(von / "Tilava.ics").find("Vynechané súbory dní: 0601.txt"), std::string::npos);

    // A second export later gives every entry the same UID, so a calendar updates its events;
    // an entry whose text changed is a new event.
    test::WriteBytes(priecinok / "0601.txt", "!\r\n-1\r\n2\r\n1990\r\nEva\r\n");
    test::WriteBytes(priecinok / "1231.txt", "x\r\n-1\r\n2\r\n0\r\nTeta Mara\r\n");
    const ExportReport r2 = ExportCalendar(priecinok.Path(), von / "Tilava.ics",
                                           sys_days{2025y / 1 / 2}, ExistingExport::CalendarOnly);
    EXPECT_TRUE(r2.Uspech()) << r2.Text(von / "Tilava.ics");
    const std::map<std::string, Udalost> druhe = Precitaj(test::ReadBytes(von / "Tilava.ics"));
    EXPECT_EQ(druhe.size(), std::size(ocakavane) + 1);
    for (const auto& [zhrnutie, u] : udalosti) {
        if (zhrnutie != "Teta – narodeniny") {
            ASSERT_EQ(druhe.count(zhrnutie), 1u) << zhrnutie;
            EXPECT_EQ(druhe.at(zhrnutie).uid, u.uid) << zhrnutie;
        }
    }
    ASSERT_EQ(druhe.count("Teta Mara – narodeniny"), 1u);
    EXPECT_FALSE(uid.contains(druhe.at("Teta Mara – narodeniny").uid));
}

TEST(CalendarExportTest, FileThatCannotBeWrittenIsAFailure) {
    const test::TempFolder priecinok("tilava-export");
    ZapisDni(priecinok);
    const test::TempFolder von("tilava-export-von");
    const std::filesystem::path subor = von / "chyba" / "Tilava.ics";
    const ExportReport r = ExportCalendar(priecinok.Path(), subor, sys_days{2024y / 5 / 1},
                                          ExistingExport::CalendarOnly);
    EXPECT_FALSE(r.zapisany);
    EXPECT_FALSE(r.Uspech());
    EXPECT_EQ(r.Text(subor).rfind("Kalendár sa neuložil.", 0), 0u) << r.Text(subor);
    EXPECT_FALSE(std::filesystem::exists(subor));
}

} // namespace
} // namespace tilava
