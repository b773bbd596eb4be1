#include "model/FadeCountdown.h"

#include <gtest/gtest.h>

#include <vector>

namespace tilava {
namespace {

// Ticks until the countdown says hide (at most `limit` ticks); returns the opacity after each.
std::vector<int> Tikaj(FadeCountdown& o, int limit, bool& skryty) {
    std::vector<int> stopa;
    skryty = false;
    while (!skryty && static_cast<int>(stopa.size()) < limit) {
        skryty = o.Tik();
        stopa.push_back(o.Nepriehladnost);
    }
    return stopa;
}

TEST(FadeCountdown, DveSekundy) {
    FadeCountdown o;
    o.SpustiOdpocet(2000, false);
    ASSERT_TRUE(o.Bezi);
    bool skryty = false;
    const auto stopa = Tikaj(o, 100, skryty);
    ASSERT_TRUE(skryty);
    EXPECT_EQ(stopa.size(), 20u) << "hidden after 2 s of 100 ms ticks";
    EXPECT_EQ(stopa.front(), 161) << "1900 ms left";
    EXPECT_EQ(stopa[stopa.size() - 2], 8) << "100 ms left";
    EXPECT_EQ(stopa.back(), 8) << "the opacity stays at its last value when hidden";
    EXPECT_FALSE(o.Bezi);
    EXPECT_EQ(o.Zostava, 0u);
}

TEST(FadeCountdown, DvadsatSekundPlneAzDoTrochPoslednych) {
    FadeCountdown o;
    o.SpustiOdpocet(20000, false);
    bool skryty = false;
    const auto stopa = Tikaj(o, 1000, skryty);
    ASSERT_TRUE(skryty);
    ASSERT_EQ(stopa.size(), 200u);
    struct {
        int tik; // 1-based
        int nepriehladnost;
    } const body[] = {{1, 255}, {169, 255}, {170, 255}, {171, 246}, {172, 238}, {199, 8}};
    for (const auto& b : body)
        EXPECT_EQ(stopa[static_cast<std::size_t>(b.tik - 1)], b.nepriehladnost) << b.tik;
}

TEST(FadeCountdown, NikdyNezmizne) {
    struct {
        std::int32_t showTime;
        bool stale;
    } const pripady[] = {
        {-5000, false}, // negative seconds typed in: a huge unsigned count
        {-1000, false},
        {20000, true}, // always shown: the timer never starts
        {2000, true},
    };
    for (const auto& p : pripady) {
        FadeCountdown o;
        o.SpustiOdpocet(p.showTime, p.stale);
        EXPECT_EQ(o.Bezi, !p.stale);
        if (!o.Bezi)
            continue;
        bool skryty = false;
        const auto stopa = Tikaj(o, 10000, skryty);
        EXPECT_FALSE(skryty) << p.showTime;
        EXPECT_EQ(stopa.back(), 255) << p.showTime;
    }
}

TEST(FadeCountdown, ZastavAZnovaSpustiVratiaPlnuNepriehladnost) {
    FadeCountdown o;
    o.SpustiOdpocet(2000, false);
    o.Tik();
    o.Tik();
    ASSERT_LT(o.Nepriehladnost, 255);
    o.ZastavOdpocet();
    EXPECT_FALSE(o.Bezi);
    EXPECT_EQ(o.Nepriehladnost, 255);
    o.SpustiOdpocet(2000, false);
    EXPECT_TRUE(o.Bezi);
    EXPECT_EQ(o.Zostava, 2000u);
}

TEST(FadeCountdown, CasMimoIntervaluSkonciNaNule) {
    for (std::int32_t showTime : {150, 50, 3050, 1}) {
        FadeCountdown o;
        o.SpustiOdpocet(showTime, false);
        bool skryty = false;
        const auto stopa = Tikaj(o, 1000, skryty);
        EXPECT_TRUE(skryty) << showTime;
        EXPECT_EQ(stopa.size(), static_cast<std::size_t>((showTime + 99) / 100)) << showTime;
    }
}

} // namespace
} // namespace tilava
