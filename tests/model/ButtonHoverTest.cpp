#include "model/ButtonHover.h"
#include "model/WidgetRect.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace tilava {
namespace {

using B = ButtonHover::Button;

// Lit buttons as a string of S H M C, in button order.
std::string AreLit(const ButtonHover& h) {
    std::string s;
    const char characters[] = "SHMC";
    for (std::size_t i = 0; i < ButtonHover::Pocet; ++i)
        if (h.lit[i])
            s += characters[i];
    return s;
}

TEST(ButtonHover, MovesBetweenButtons) {
    struct {
        std::vector<B> path;
        const char* litButtons;
    } const cases[] = {
        {{B::Min, B::Close}, "C"}, // hide button straight to the close button
        {{B::Close, B::Min}, "M"},
        {{B::Setup, B::Help, B::Min, B::Close}, "C"},
        {{B::Close, B::Min, B::Help, B::Setup}, "S"},
        {{B::Setup, B::Close}, "SC"}, // neighbours only: a jump leaves both lit
        {{B::Close, B::Help}, "HC"},
        {{B::Help, B::Close}, "HC"},
        {{B::Setup, B::Min}, "SM"},
        {{B::Help, B::Help}, "H"},
    };
    for (const auto& p : cases) {
        ButtonHover h;
        for (B b : p.path)
            h.Enter(b);
        EXPECT_EQ(AreLit(h), p.litButtons) << testing::PrintToString(p.path);
    }
}

TEST(ButtonHover, DimmingByDayAndBar) {
    ButtonHover h;
    h.Enter(B::Setup);
    h.Enter(B::Close);
    h.DimSetup();
    EXPECT_EQ(AreLit(h), "C");
    h.Enter(B::Help);
    h.Dim();
    EXPECT_EQ(AreLit(h), "");
}

TEST(WidgetRect, EdgesBelongInside) {
    const WidgetRect r{1000, 50, 170, 85};
    struct {
        int x, y;
        bool inside;
    } const body[] = {
        {1000, 50, true},   {1170, 135, true},  {1170, 50, true},  {1000, 135, true},
        {1085, 90, true},   {999, 90, false},   {1171, 90, false}, {1085, 49, false},
        {1085, 136, false}, {1171, 136, false},
    };
    for (const auto& b : body)
        EXPECT_EQ(r.Contains(b.x, b.y), b.inside) << b.x << "," << b.y;
}

} // namespace
} // namespace tilava
