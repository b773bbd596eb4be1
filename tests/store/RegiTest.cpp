#include "store/uRegi.h"

#include "platform/HiveError.h"
#include "platform/MemoryHive.h"
#include "store/WidgetSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <variant>

using namespace tilava;

namespace {

// What a test puts under a name: a string, a REG_DWORD, or nothing.
using Stored = std::variant<std::monostate, std::string, std::uint32_t>;

void Put(MemoryHive& hive, HiveKey key, const std::string& name, const Stored& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        hive.PutString(key, name, *text);
    } else if (const auto* number = std::get_if<std::uint32_t>(&value)) {
        hive.PutDword(key, name, *number);
    }
}

TEST(Regi, ReadValueReadsDecimalIntegersAndZeroForEverythingElse) {
    const struct {
        Stored stored;
        int expected;
    } cases[] = {
        {std::monostate{}, 0},
        {std::string("5000"), 5000},
        {std::string("-120"), -120},
        {std::string(" 42 "), 42},
        {std::string("+7"), 7},
        {std::string("abc"), 0},
        {std::string("12abc"), 0},
        {std::string(""), 0},
        {std::string("2147483647"), 2147483647},
        {std::string("2147483648"), 0},
        {std::string("1.5"), 0},
        {std::uint32_t{5}, 0}, // REG_DWORD is not a string
    };
    for (const auto& c : cases) {
        MemoryHive hive;
        hive.CreateKey(HiveKey::Settings);
        Put(hive, HiveKey::Settings, "Dopredu", c.stored);
        SCOPED_TRACE(std::holds_alternative<std::string>(c.stored)
                         ? "\"" + std::get<std::string>(c.stored) + "\""
                         : "not a string");
        EXPECT_EQ(TRegi(hive).CitajHodnotu("Dopredu"), c.expected);
    }
}

TEST(Regi, FreshUserGetsTheDefaults) {
    MemoryHive hive;
    const WidgetSettings s = WidgetSettings::Nacitaj(TRegi(hive));
    EXPECT_EQ(s.ShowTime, 20000);
    EXPECT_EQ(s.Dopredu, 0);
    EXPECT_EQ(s.Upozornenie, 0);
    EXPECT_FALSE(s.Startup);
    EXPECT_FALSE(s.Stale);
    EXPECT_FALSE(s.Pamatat);
    EXPECT_EQ(s.Top, std::nullopt);
    EXPECT_EQ(s.Left, std::nullopt);
    EXPECT_FALSE(hive.KeyExists(HiveKey::Settings)) << "reading must not create the key";
}

TEST(Regi, StoredSettingsWithTheirDefaults) {
    const struct {
        const char* name;
        Stored stored;
        int WidgetSettings::*field;
        int expected;
    } cases[] = {
        {"ShowTime", std::string("abc"), &WidgetSettings::ShowTime, 20000},
        {"ShowTime", std::string("0"), &WidgetSettings::ShowTime, 20000},
        {"ShowTime", std::string("5000"), &WidgetSettings::ShowTime, 5000},
        {"ShowTime", std::uint32_t{5000}, &WidgetSettings::ShowTime, 20000},
        {"Dopredu", std::uint32_t{3}, &WidgetSettings::Dopredu, 0},
        {"Dopredu", std::string("3"), &WidgetSettings::Dopredu, 3},
        {"Upozornenie", std::string("7"), &WidgetSettings::Upozornenie, 0},
        {"Upozornenie", std::string("-1"), &WidgetSettings::Upozornenie, 0},
        {"Upozornenie", std::string("1"), &WidgetSettings::Upozornenie, 1},
        {"Upozornenie", std::string("2"), &WidgetSettings::Upozornenie, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryHive hive;
        Put(hive, HiveKey::Settings, c.name, c.stored);
        EXPECT_EQ(WidgetSettings::Nacitaj(TRegi(hive)).*c.field, c.expected);
    }
    EXPECT_EQ(WidgetSettings::ValidAlert(7, 2), 2) << "another number keeps the mode";
}

TEST(Regi, RememberedPositionOnlyWhenOnAndNonZero) {
    const struct {
        bool remember;
        const char* top;
        const char* left;
        std::optional<int> expectedTop;
        std::optional<int> expectedLeft;
    } cases[] = {
        {true, "120", "1500", 120, 1500},
        {true, "0", "1500", std::nullopt, 1500},
        {true, "-30", "abc", -30, std::nullopt},
        {false, "120", "1500", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.top) + " " + c.left + (c.remember ? " on" : " off"));
        MemoryHive hive;
        hive.PutString(HiveKey::Settings, "frmMainTop", c.top);
        hive.PutString(HiveKey::Settings, "frmMainLeft", c.left);
        if (c.remember) {
            hive.PutString(HiveKey::Startup, "ZelmTilavaP", "True");
        }
        const WidgetSettings s = WidgetSettings::Nacitaj(TRegi(hive));
        EXPECT_EQ(s.Pamatat, c.remember);
        EXPECT_EQ(s.Top, c.expectedTop);
        EXPECT_EQ(s.Left, c.expectedLeft);
    }
}

TEST(Regi, WriteValueCreatesTheKeyAndSkipsUnchangedValues) {
    MemoryHive hive;
    TRegi regi(hive);
    regi.ZapisHodnotu("Now", "8. 12. 2026");
    EXPECT_TRUE(hive.KeyExists(HiveKey::Settings));
    regi.ZapisHodnotu("Now", "8. 12. 2026");
    regi.ZapisHodnotu("Now", "8. 12. 2026");
    EXPECT_EQ(hive.WriteCount(), 1);
    regi.ZapisHodnotu("Now", "9. 12. 2026");
    regi.ZapisHodnotu("ShowTime", 15000);
    regi.ZapisHodnotu("ShowTime", 15000);
    EXPECT_EQ(hive.WriteCount(), 3);
    EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 15000);
    EXPECT_EQ(hive.ReadValue(HiveKey::Settings, "Now").text, "9. 12. 2026");

    // A value of another type under the name is replaced by the string.
    hive.PutDword(HiveKey::Settings, "Dopredu", 3);
    regi.ZapisHodnotu("Dopredu", "3");
    EXPECT_EQ(hive.WriteCount(), 4);
    EXPECT_EQ(regi.CitajHodnotu("Dopredu"), 3);
}

TEST(Regi, StoresShareTheHiveWithoutCaching) {
    MemoryHive hive;
    TRegi widget(hive);
    {
        TRegi settingsWindow(hive);
        settingsWindow.ZapisHodnotu("frmSetupTop", "200");
    }
    EXPECT_EQ(widget.CitajHodnotu("frmSetupTop"), 200);
    hive.PutString(HiveKey::Settings, "frmSetupTop", "300");
    EXPECT_EQ(widget.CitajHodnotu("frmSetupTop"), 300);
}

TEST(Regi, StartupSwitchesWriteDeleteAndSkip) {
    using Set = void (TRegi::*)(std::string_view);
    using Get = bool (TRegi::*)() const;
    const struct {
        const char* value;
        Set set;
        Get get;
        const char* on;
        const char* stored;
    } cases[] = {
        {"ZelmTilavaS", &TRegi::NastavStale, &TRegi::JeStale, "True", "True"},
        {"ZelmTilavaP", &TRegi::NastavPamatat, &TRegi::JePamatat, "True", "True"},
        {"ZelmTilava", &TRegi::NastavStartup, &TRegi::JeStartup,
         "C:\\Program Files\\Tilava\\Tilava.exe", "\"C:\\Program Files\\Tilava\\Tilava.exe\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        MemoryHive hive;
        TRegi regi(hive);
        EXPECT_FALSE((regi.*c.get)());
        (regi.*c.set)(c.on);
        EXPECT_TRUE((regi.*c.get)());
        EXPECT_EQ(hive.ReadValue(HiveKey::Startup, c.value).text, c.stored);
        (regi.*c.set)(c.on);
        EXPECT_EQ(hive.WriteCount(), 1) << "unchanged value written again";
        (regi.*c.set)("");
        EXPECT_FALSE((regi.*c.get)());
        EXPECT_EQ(hive.ReadValue(HiveKey::Startup, c.value).kind, ValueKind::Missing);
        (regi.*c.set)("");
        EXPECT_EQ(hive.DeleteCount(), 1) << "a missing value deleted again";
        EXPECT_FALSE(hive.KeyExists(HiveKey::Settings)) << "start-up values went elsewhere";

        // Empty strings and other types count as off; switching off removes them.
        hive.PutString(HiveKey::Startup, c.value, "");
        EXPECT_FALSE((regi.*c.get)());
        hive.PutDword(HiveKey::Startup, c.value, 1);
        EXPECT_FALSE((regi.*c.get)());
        (regi.*c.set)("");
        EXPECT_EQ(hive.ReadValue(HiveKey::Startup, c.value).kind, ValueKind::Missing);
    }
}

TEST(Regi, StartupPathIsQuotedAndFollowsTheProgram) {
    MemoryHive hive;
    TRegi regi(hive);
    const struct {
        const char* path;
        const char* stored;
    } cases[] = {
        {"C:\\Program Files\\Tilava\\Tilava.exe", "\"C:\\Program Files\\Tilava\\Tilava.exe\""},
        {"D:\\Tilava.exe", "\"D:\\Tilava.exe\""},
        {"\"D:\\Moje programy\\Tilava.exe\"", "\"D:\\Moje programy\\Tilava.exe\""},
        {"/home/ľudo/Aplikácie/tilava", "\"/home/ľudo/Aplikácie/tilava\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        regi.NastavStartup("");
        regi.NastavStartup(c.path);
        EXPECT_EQ(hive.ReadValue(HiveKey::Startup, "ZelmTilava").text, c.stored);
    }
}

TEST(Regi, MissingStartupKeyKeepsSwitchesOffSilently) {
    MemoryHive hive(/*startupKeyExists=*/false);
    TRegi regi(hive);
    EXPECT_NO_THROW(regi.NastavStartup("C:\\Tilava.exe"));
    EXPECT_NO_THROW(regi.NastavStale("True"));
    EXPECT_NO_THROW(regi.NastavPamatat(""));
    EXPECT_FALSE(regi.JeStartup());
    EXPECT_FALSE(regi.JeStale());
    EXPECT_FALSE(regi.JePamatat());
    EXPECT_FALSE(hive.KeyExists(HiveKey::Startup)) << "the start-up key is never created";
    EXPECT_EQ(hive.WriteCount() + hive.DeleteCount(), 0);
}

TEST(Regi, RefusedWriteReachesTheCallerReadsStayQuiet) {
    MemoryHive hive;
    hive.PutString(HiveKey::Settings, "ShowTime", "5000");
    hive.RefuseWrites(true);
    TRegi regi(hive);
    EXPECT_THROW(regi.ZapisHodnotu("ShowTime", "6000"), HiveError);
    EXPECT_THROW(regi.NastavStale("True"), HiveError);
    EXPECT_NO_THROW(regi.ZapisHodnotu("ShowTime", "5000")) << "unchanged: nothing to refuse";
    EXPECT_EQ(regi.CitajHodnotu("ShowTime"), 5000);
}

} // namespace
