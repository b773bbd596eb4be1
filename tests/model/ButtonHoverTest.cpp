#include "model/ButtonHover.h"
#include "model/WidgetRect.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace tilava {
namespace {

using B = ButtonHover::Tlacidlo;

// Lit buttons as a string of S H M C, in button order.
std::string Svietia(const ButtonHover& h) {
    std::string s;
    const char znaky[] = "SHMC";
    for (std::size_t i = 0; i < ButtonHover::Pocet; ++i)
        if (h.Nad[i])
            s += znaky[i];
    return s;
}

TEST(ButtonHover, PrechodyMedziTlacidlami) {
    struct {
        std::vector<B> cesta;
        const char* svietia;
    } const pripady[] = {
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
    for (const auto& p : pripady) {
        ButtonHover h;
        for (B b : p.cesta)
            h.NadTlacidlom(b);
        EXPECT_EQ(Svietia(h), p.svietia) << testing::PrintToString(p.cesta);
    }
}

TEST(ButtonHover, ZhasinanieDnomAListou) {
    ButtonHover h;
    h.NadTlacidlom(B::Setup);
    h.NadTlacidlom(B::Close);
    h.ZhasniSetup();
    EXPECT_EQ(Svietia(h), "C");
    h.NadTlacidlom(B::Help);
    h.Zhasni();
    EXPECT_EQ(Svietia(h), "");
}

TEST(WidgetRect, OkrajePatriaDnu) {
    const WidgetRect r{1000, 50, 170, 85};
    struct {
        int x, y;
        bool dnu;
    } const body[] = {
        {1000, 50, true},   {1170, 135, true},  {1170, 50, true},  {1000, 135, true},
        {1085, 90, true},   {999, 90, false},   {1171, 90, false}, {1085, 49, false},
        {1085, 136, false}, {1171, 136, false},
    };
    for (const auto& b : body)
        EXPECT_EQ(r.Obsahuje(b.x, b.y), b.dnu) << b.x << "," << b.y;
}

} // namespace
} // namespace tilava
