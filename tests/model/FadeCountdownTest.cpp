#include "model/FadeCountdown.h"

#include <gtest/gtest.h>

#include <vector>

namespace tilava {
namespace {

// Ticks until the countdown says hide (at most `limit` ticks); returns the opacity after each.
std::vector<int> TickUntil(FadeCountdown& o, int limit, bool& hidden) {
    std::vector<int> trace;
    hidden = false;
    while (!hidden && static_cast<int>(trace.size()) < limit) {
        hidden = o.Tick();
        trace.push_back(o.Opacity);
    }
    return trace;
}

TEST(FadeCountdown, TwoSeconds) {
    FadeCountdown o;
    o.SpustiOdpocet(2000, false);
    ASSERT_TRUE(o.running);
    bool hidden = false;
    const auto trace = TickUntil(o, 100, hidden);
    ASSERT_TRUE(hidden);
    EXPECT_EQ(trace.size(), 20u) << "hidden after 2 s of 100 ms ticks";
    EXPECT_EQ(trace.front(), 161) << "1900 ms left";
    EXPECT_EQ(trace[trace.size() - 2], 8) << "100 ms left";
    EXPECT_EQ(trace.back(), 8) << "the opacity stays at its last value when hidden";
    EXPECT_FALSE(o.running);
    EXPECT_EQ(o.Zostava, 0u);
}

TEST(FadeCountdown, TwentySecondsFullUntilLastThree) {
    FadeCountdown o;
    o.SpustiOdpocet(20000, false);
    bool hidden = false;
    const auto trace = TickUntil(o, 1000, hidden);
    ASSERT_TRUE(hidden);
    ASSERT_EQ(trace.size(), 200u);
    struct {
        int tick; // 1-based
        int opacity;
    } const body[] = {{1, 255}, {169, 255}, {170, 255}, {171, 246}, {172, 238}, {199, 8}};
    for (const auto& b : body)
        EXPECT_EQ(trace[static_cast<std::size_t>(b.tick - 1)], b.opacity) << b.tick;
}

TEST(FadeCountdown, NeverFades) {
    struct {
        std::int32_t showTime;
        bool always;
    } const cases[] = {
        {-5000, false}, // negative seconds typed in: a huge unsigned count
        {-1000, false},
        {20000, true}, // always shown: the timer never starts
        {2000, true},
    };
    for (const auto& p : cases) {
        FadeCountdown o;
        o.SpustiOdpocet(p.showTime, p.always);
        EXPECT_EQ(o.running, !p.always);
        if (!o.running)
            continue;
        bool hidden = false;
        const auto trace = TickUntil(o, 10000, hidden);
        EXPECT_FALSE(hidden) << p.showTime;
        EXPECT_EQ(trace.back(), 255) << p.showTime;
    }
}

TEST(FadeCountdown, StopAndRestartGiveFullOpacity) {
    FadeCountdown o;
    o.SpustiOdpocet(2000, false);
    o.Tick();
    o.Tick();
    ASSERT_LT(o.Opacity, 255);
    o.ZastavOdpocet();
    EXPECT_FALSE(o.running);
    EXPECT_EQ(o.Opacity, 255);
    o.SpustiOdpocet(2000, false);
    EXPECT_TRUE(o.running);
    EXPECT_EQ(o.Zostava, 2000u);
}

TEST(FadeCountdown, TimeOutsideRangeEndsAtZero) {
    for (std::int32_t showTime : {150, 50, 3050, 1}) {
        FadeCountdown o;
        o.SpustiOdpocet(showTime, false);
        bool hidden = false;
        const auto trace = TickUntil(o, 1000, hidden);
        EXPECT_TRUE(hidden) << showTime;
        EXPECT_EQ(trace.size(), static_cast<std::size_t>((showTime + 99) / 100)) << showTime;
    }
}

} // namespace
} // namespace tilava
