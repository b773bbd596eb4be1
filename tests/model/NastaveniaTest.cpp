#include "model/Nastavenia.h"

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

std::optional<std::string> Hodnota(const MemoryHive& hive, HiveKey key, const char* meno) {
    const HiveValue v = hive.ReadValue(key, meno);
    return v.IsString() ? std::optional(v.text) : std::nullopt;
}

// What the settings window hands back for the seconds typed: whole seconds within
// 0..MaxSekund, so the display time never overflows.
TEST(Nastavenia, SecondsTypedBecomeADisplayTimeThatFits) {
    const struct {
        int seconds;
        int showTime;
    } cases[] = {{5, 5000}, {0, 0}, {-5, 0}, {MaxSekund, 2147483000}, {99999999, 2147483000}};
    for (const auto& c : cases)
        EXPECT_EQ(ShowTimeFromSeconds(c.seconds), c.showTime) << c.seconds;
}

// One confirmation each, from a widget with the defaults and an empty store whose start-up key
// exists: what is stored, what the widget holds afterwards, and how many writes reached the
// store (so nothing else was written, the language least of all).
TEST(Nastavenia, ConfirmedSettingsAreStoredInOrderAndReadBack) {
    const struct {
        const char* pripad;
        bool jazykSK;
        int sekundy; // as typed
        WidgetSettings z;
        const char* showTime; // stored texts
        const char* dopredu;
        const char* upozornenie; // nullptr: not written
        int widgetShowTime;
        int widgetDopredu;
        int zapisy;
    } pripady[] = {
        {"five seconds, three days, sound at first start",
         false,
         5,
         {0, false, false, false, 1, 3, {}, {}},
         "5000",
         "3",
         "1",
         5000,
         3,
         3},
        {"zero seconds reads back as the default",
         true,
         0,
         {0, false, false, false, 0, 0, {}, {}},
         "0",
         "0",
         "0",
         20000,
         0,
         3},
        {"a sound value outside 0..2 is not written",
         true,
         20,
         {0, false, false, false, 7, 0, {}, {}},
         "20000",
         "0",
         nullptr,
         20000,
         0,
         2},
        {"huge seconds stop short of overflowing",
         true,
         99999999,
         {0, false, false, false, 2, 0, {}, {}},
         "2147483000",
         "0",
         "2",
         2147483000,
         0,
         3},
        {"negative numbers count as zero",
         true,
         -5,
         {0, false, false, false, 0, -3, {}, {}},
         "0",
         "0",
         "0",
         20000,
         0,
         3},
    };
    for (const auto& p : pripady) {
        SCOPED_TRACE(p.pripad);
        MemoryHive hive;
        TRegi regi(hive);
        TRok rok;
        WidgetSettings w;
        WidgetSettings z = p.z;
        z.ShowTime = ShowTimeFromSeconds(p.sekundy);
        EXPECT_EQ(AplikujNastavenia(z, p.jazykSK, rok, regi, w, kProgram), "");
        EXPECT_EQ(rok.JazykSK, p.jazykSK);
        EXPECT_EQ(Hodnota(hive, HiveKey::Settings, "ShowTime"), p.showTime);
        EXPECT_EQ(Hodnota(hive, HiveKey::Settings, "Dopredu"), p.dopredu);
        EXPECT_EQ(Hodnota(hive, HiveKey::Settings, "Upozornenie"),
                  p.upozornenie ? std::optional<std::string>(p.upozornenie) : std::nullopt);
        EXPECT_EQ(w.ShowTime, p.widgetShowTime);
        EXPECT_EQ(w.Dopredu, p.widgetDopredu);
        EXPECT_EQ(w.Upozornenie, p.z.Upozornenie);
        EXPECT_EQ(hive.WriteCount(), p.zapisy);
        EXPECT_EQ(hive.DeleteCount(), 0);
        // The next start reads the same numbers and knows no language: it is Slovak again.
        const WidgetSettings dalsi = WidgetSettings::Nacitaj(regi);
        EXPECT_EQ(dalsi.ShowTime, p.widgetShowTime);
        EXPECT_EQ(dalsi.Dopredu, p.widgetDopredu);
        EXPECT_TRUE(TRok().JazykSK);
    }
}

// Only the switches that changed touch the start-up key; each takes what reads back.
TEST(Nastavenia, ChangedStartupSwitchesOnlyWithTheirReadBack) {
    MemoryHive hive;
    TRegi regi(hive);
    TRok rok;
    WidgetSettings w;
    WidgetSettings z = w;
    z.Startup = z.Pamatat = z.Stale = true;
    ASSERT_EQ(AplikujNastavenia(z, true, rok, regi, w, kProgram), "");
    EXPECT_EQ(Hodnota(hive, HiveKey::Startup, "ZelmTilava"), "\"/opt/Tilava v2/tilava\"");
    EXPECT_EQ(Hodnota(hive, HiveKey::Startup, "ZelmTilavaP"), "True");
    EXPECT_EQ(Hodnota(hive, HiveKey::Startup, "ZelmTilavaS"), "True");
    EXPECT_TRUE(w.Startup && w.Pamatat && w.Stale);

    // Unchanged switches are left alone even when the store was changed behind the widget's
    // back; a changed one is removed.
    hive.DeleteValue(HiveKey::Startup, "ZelmTilavaP");
    const int zmazane = hive.DeleteCount();
    z.Startup = false;
    ASSERT_EQ(AplikujNastavenia(z, true, rok, regi, w, kProgram), "");
    EXPECT_EQ(Hodnota(hive, HiveKey::Startup, "ZelmTilava"), std::nullopt);
    EXPECT_EQ(hive.DeleteCount(), zmazane + 1);
    EXPECT_FALSE(w.Startup);
    EXPECT_TRUE(w.Pamatat);

    // Without a start-up key the switches stay off.
    MemoryHive bezRun(false);
    TRegi regi2(bezRun);
    WidgetSettings w2;
    ASSERT_EQ(AplikujNastavenia(z, true, rok, regi2, w2, kProgram), "");
    EXPECT_FALSE(w2.Startup || w2.Pamatat || w2.Stale);
}

TEST(Nastavenia, ARefusingStoreIsReportedAndTheRestStillApplies) {
    MemoryHive hive;
    TRegi regi(hive);
    TRok rok;
    WidgetSettings w;
    hive.RefuseWrites(true);
    const WidgetSettings z{7000, true, false, false, 2, 2, {}, {}};
    const std::string chyby = AplikujNastavenia(z, false, rok, regi, w, kProgram);
    EXPECT_NE(chyby.find("ShowTime"), std::string::npos) << chyby;
    EXPECT_NE(chyby.find("ZelmTilava"), std::string::npos) << chyby;
    EXPECT_FALSE(rok.JazykSK);
    EXPECT_EQ(w.ShowTime, 7000);
    EXPECT_EQ(w.Dopredu, 2);
    EXPECT_EQ(w.Upozornenie, 2);
    EXPECT_FALSE(w.Startup);
}

} // namespace
} // namespace tilava
