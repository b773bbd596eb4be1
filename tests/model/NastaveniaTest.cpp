#include "model/Nastavenia.h"

#include "core/uRok.h"
#include "platform/MemoryHive.h"
#include "store/StartSettings.h"
#include "store/uRegi.h"

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

TEST(Nastavenia, TheWindowStartsFromTheWidgetInWholeSeconds) {
    const NastaveniaWidgetu w{20999, true, false, true, 2, 4};
    const ZvoleneNastavenia z = NaUpravu(w, false);
    EXPECT_FALSE(z.JazykSK);
    EXPECT_EQ(z.Sekundy, 20);
    EXPECT_EQ(z.Dopredu, 4);
    EXPECT_EQ(z.Upozornenie, 2);
    EXPECT_TRUE(z.Startup && !z.Pamatat && z.Stale);
}

// One confirmation each, from a widget with the defaults and an empty store whose start-up key
// exists: what is stored, what the widget holds afterwards, and how many writes reached the
// store (so nothing else was written, the language least of all).
TEST(Nastavenia, ConfirmedSettingsAreStoredInOrderAndReadBack) {
    const struct {
        const char* pripad;
        ZvoleneNastavenia z;
        const char* showTime; // stored texts
        const char* dopredu;
        const char* upozornenie; // nullptr: not written
        int widgetShowTime;
        int widgetDopredu;
        int zapisy;
    } pripady[] = {
        {"five seconds, three days, sound at first start",
         {false, 5, 3, false, false, false, 1},
         "5000",
         "3",
         "1",
         5000,
         3,
         3},
        {"zero seconds reads back as the default",
         {true, 0, 0, false, false, false, 0},
         "0",
         "0",
         "0",
         20000,
         0,
         3},
        {"a sound value outside 0..2 is not written",
         {true, 20, 0, false, false, false, 7},
         "20000",
         "0",
         nullptr,
         20000,
         0,
         2},
        {"huge seconds stop short of overflowing",
         {true, 99999999, 0, false, false, false, 2},
         "2147483000",
         "0",
         "2",
         2147483000,
         0,
         3},
        {"negative numbers count as zero",
         {true, -5, -3, false, false, false, 0},
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
        NastaveniaWidgetu w;
        EXPECT_EQ(AplikujNastavenia(p.z, rok, regi, w, kProgram), "");
        EXPECT_EQ(rok.JazykSK, p.z.JazykSK);
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
        const StartSettings dalsi = StartSettings::Nacitaj(regi);
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
    NastaveniaWidgetu w;
    ZvoleneNastavenia z = NaUpravu(w, true);
    z.Startup = z.Pamatat = z.Stale = true;
    ASSERT_EQ(AplikujNastavenia(z, rok, regi, w, kProgram), "");
    EXPECT_EQ(Hodnota(hive, HiveKey::Startup, "ZelmTilava"), "\"/opt/Tilava v2/tilava\"");
    EXPECT_EQ(Hodnota(hive, HiveKey::Startup, "ZelmTilavaP"), "True");
    EXPECT_EQ(Hodnota(hive, HiveKey::Startup, "ZelmTilavaS"), "True");
    EXPECT_TRUE(w.Startup && w.Pamatat && w.Stale);

    // Unchanged switches are left alone even when the store was changed behind the widget's
    // back; a changed one is removed.
    hive.DeleteValue(HiveKey::Startup, "ZelmTilavaP");
    const int zmazane = hive.DeleteCount();
    z.Startup = false;
    ASSERT_EQ(AplikujNastavenia(z, rok, regi, w, kProgram), "");
    EXPECT_EQ(Hodnota(hive, HiveKey::Startup, "ZelmTilava"), std::nullopt);
    EXPECT_EQ(hive.DeleteCount(), zmazane + 1);
    EXPECT_FALSE(w.Startup);
    EXPECT_TRUE(w.Pamatat);

    // Without a start-up key the switches stay off.
    MemoryHive bezRun(false);
    TRegi regi2(bezRun);
    NastaveniaWidgetu w2;
    ASSERT_EQ(AplikujNastavenia(z, rok, regi2, w2, kProgram), "");
    EXPECT_FALSE(w2.Startup || w2.Pamatat || w2.Stale);
}

TEST(Nastavenia, ARefusingStoreIsReportedAndTheRestStillApplies) {
    MemoryHive hive;
    TRegi regi(hive);
    TRok rok;
    NastaveniaWidgetu w;
    hive.RefuseWrites(true);
    const ZvoleneNastavenia z{false, 7, 2, true, false, false, 2};
    const std::string chyby = AplikujNastavenia(z, rok, regi, w, kProgram);
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
