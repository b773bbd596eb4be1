#include "model/ApplySettings.h"

#include "core/uRok.h"
#include "platform/MemoryHive.h"
#include "store/uRegi.h"
#include "store/WidgetSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tilava {
namespace {

const std::filesystem::path kProgram = "/opt/Tilava v2/tilava";

std::optional<std::string> StoredValue(const MemoryHive& hive, HiveKey key, const char* meno) {
    const HiveValue v = hive.ReadValue(key, meno);
    return v.IsString() ? std::optional(v.text) : std::nullopt;
}

// What the settings window hands back for the seconds typed: whole seconds within
// 0..MaxSeconds, so the display time never overflows.
TEST(Settings, SecondsTypedBecomeADisplayTimeThatFits) {
    const struct {
        int seconds;
        int showTime;
    } cases[] = {{5, 5000}, {0, 0}, {-5, 0}, {MaxSeconds, 2147483000}, {99999999, 2147483000}};
    for (const auto& c : cases)
        EXPECT_EQ(ShowTimeFromSeconds(c.seconds), c.showTime) << c.seconds;
}

// One confirmation each, from a widget with the defaults and an empty store whose start-up key
// exists: what is stored, what the widget holds afterwards, and how many writes reached the
// store (so nothing else was written, the language least of all).
TEST(Settings, ConfirmedSettingsAreStoredInOrderAndReadBack) {
    const struct {
        const char* testCase;
        bool languageSK;
        int secondCount; // as typed
        WidgetSettings z;
        const char* showTime; // stored texts
        const char* daysAhead;
        const char* alert; // nullptr: not written
        int widgetShowTime;
        int widgetDaysAhead;
        int writes;
    } cases[] = {
        // clang-format off
        {"five seconds, three days, sound at first start",
         false, 5, {0, false, false, false, 1, 3, {}, {}}, "5000", "3", "1", 5000, 3, 3},
        {"zero seconds reads back as the default",
         true, 0, {0, false, false, false, 0, 0, {}, {}}, "0", "0", "0", 20000, 0, 3},
        {"a sound value outside 0..2 is not written",
         true, 20, {0, false, false, false, 7, 0, {}, {}}, "20000", "0", nullptr, 20000, 0, 2},
        {"huge seconds stop short of overflowing",
         true, 99999999, {0, false, false, false, 2, 0, {}, {}}, "2147483000", "0", "2",
         2147483000, 0, 3},
        {"negative numbers count as zero",
         true, -5, {0, false, false, false, 0, -3, {}, {}}, "0", "0", "0", 20000, 0, 3},
        // clang-format on
    };
    for (const auto& p : cases) {
        SCOPED_TRACE(p.testCase);
        MemoryHive hive;
        TRegi regi(hive);
        TRok rok;
        WidgetSettings w;
        WidgetSettings z = p.z;
        z.ShowTime = ShowTimeFromSeconds(p.secondCount);
        EXPECT_EQ(ApplySettings(z, p.languageSK, rok, regi, w, kProgram), "");
        EXPECT_EQ(rok.JazykSK, p.languageSK);
        EXPECT_EQ(StoredValue(hive, HiveKey::Settings, "ShowTime"), p.showTime);
        EXPECT_EQ(StoredValue(hive, HiveKey::Settings, "Dopredu"), p.daysAhead);
        EXPECT_EQ(StoredValue(hive, HiveKey::Settings, "Upozornenie"),
                  p.alert ? std::optional<std::string>(p.alert) : std::nullopt);
        EXPECT_EQ(w.ShowTime, p.widgetShowTime);
        EXPECT_EQ(w.Dopredu, p.widgetDaysAhead);
        EXPECT_EQ(w.Upozornenie, p.z.Upozornenie);
        EXPECT_EQ(hive.WriteCount(), p.writes);
        EXPECT_EQ(hive.DeleteCount(), 0);
        // The next start reads the same numbers and knows no language: it is Slovak again.
        const WidgetSettings next = WidgetSettings::Nacitaj(regi);
        EXPECT_EQ(next.ShowTime, p.widgetShowTime);
        EXPECT_EQ(next.Dopredu, p.widgetDaysAhead);
        EXPECT_TRUE(TRok().JazykSK);
    }
}

// Only the switches that changed touch the start-up key; each takes what reads back.
TEST(Settings, ChangedStartupSwitchesOnlyWithTheirReadBack) {
    MemoryHive hive;
    TRegi regi(hive);
    TRok rok;
    WidgetSettings w;
    WidgetSettings z = w;
    z.Startup = z.Pamatat = z.Stale = true;
    ASSERT_EQ(ApplySettings(z, true, rok, regi, w, kProgram), "");
    EXPECT_EQ(StoredValue(hive, HiveKey::Startup, "ZelmTilava"), "\"/opt/Tilava v2/tilava\"");
    EXPECT_EQ(StoredValue(hive, HiveKey::Startup, "ZelmTilavaP"), "True");
    EXPECT_EQ(StoredValue(hive, HiveKey::Startup, "ZelmTilavaS"), "True");
    EXPECT_TRUE(w.Startup && w.Pamatat && w.Stale);

    // Unchanged switches are left alone even when the store was changed behind the widget's
    // back; a changed one is removed.
    hive.DeleteValue(HiveKey::Startup, "ZelmTilavaP");
    const int deleted = hive.DeleteCount();
    z.Startup = false;
    ASSERT_EQ(ApplySettings(z, true, rok, regi, w, kProgram), "");
    EXPECT_EQ(StoredValue(hive, HiveKey::Startup, "ZelmTilava"), std::nullopt);
    EXPECT_EQ(hive.DeleteCount(), deleted + 1);
    EXPECT_FALSE(w.Startup);
    EXPECT_TRUE(w.Pamatat);

    // Without a start-up key the switches stay off.
    MemoryHive withoutRun(false);
    TRegi regi2(withoutRun);
    WidgetSettings w2;
    ASSERT_EQ(ApplySettings(z, true, rok, regi2, w2, kProgram), "");
    EXPECT_FALSE(w2.Startup || w2.Pamatat || w2.Stale);
}

TEST(Settings, ARefusingStoreIsReportedAndTheRestStillApplies) {
    MemoryHive hive;
    TRegi regi(hive);
    TRok rok;
    WidgetSettings w;
    hive.RefuseWrites(true);
    const WidgetSettings z{7000, true, false, false, 2, 2, {}, {}};
    const std::string errors = ApplySettings(z, false, rok, regi, w, kProgram);
    EXPECT_NE(errors.find("ShowTime"), std::string::npos) << errors;
    EXPECT_NE(errors.find("ZelmTilava"), std::string::npos) << errors;
    EXPECT_FALSE(rok.JazykSK);
    EXPECT_EQ(w.ShowTime, 7000);
    EXPECT_EQ(w.Dopredu, 2);
    EXPECT_EQ(w.Upozornenie, 2);
    EXPECT_FALSE(w.Startup);
}

} // namespace
} // namespace tilava
