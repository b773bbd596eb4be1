#include "store/SyncSettings.h"

#include "platform/MemoryHive.h"
#include "store/uRegi.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace tilava;

TEST(SyncSettings, WhatIsWrittenIsReadBackAndWhatIsBeyondTheLimitsReadsAsUnset) {
    MemoryHive hive;
    TRegi regi(hive);
    EXPECT_EQ(SyncSettings::Read(regi), SyncSettings{}) << "nothing stored: not set up, off";

    const SyncSettings set{"https://dav.example.sk/cal/žofia/narodeniny/", "Žofia Řehoř", 30, true};
    set.Write(regi);
    EXPECT_EQ(SyncSettings::Read(regi), set);
    EXPECT_TRUE(set.Configured());

    // Values another program or a hand edit left in the settings.
    const struct {
        const char* name;
        std::string stored;
    } beyond[] = {
        {"SyncCalendar", std::string(SyncSettings::kLongestUrl + 1, 'a')},
        {"SyncCalendar", "https://dav.example.sk/\ncal/"},
        {"SyncUser", std::string(SyncSettings::kLongestUser + 1, 'u')},
        {"SyncUser", "ali\tce"},
        {"SyncEvery", "1441"},
        {"SyncEvery", "-5"},
    };
    for (const auto& row : beyond) {
        set.Write(regi);
        regi.ZapisHodnotu(row.name, row.stored);
        const SyncSettings read = SyncSettings::Read(regi);
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(read == set);
        EXPECT_TRUE(read.calendarUrl.empty() || read.calendarUrl == set.calendarUrl);
        EXPECT_TRUE(read.user.empty() || read.user == set.user);
        EXPECT_TRUE(read.everyMinutes == 0 || read.everyMinutes == set.everyMinutes);
    }

    // The writing side keeps the reading side's limits and writes nothing when it refuses.
    set.Write(regi);
    for (SyncSettings wrong : {SyncSettings{std::string(2049, 'a'), "u", 0, false},
                               SyncSettings{"https://a/", "a\nb", 0, false},
                               SyncSettings{"https://a/", "u", 1441, false}}) {
        EXPECT_THROW(wrong.Write(regi), std::invalid_argument);
        EXPECT_EQ(SyncSettings::Read(regi), set);
    }
}
