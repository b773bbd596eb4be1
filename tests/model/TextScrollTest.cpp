#include "model/TextScroll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tilava {
namespace {

// One run of a scrolling label: the text and count it is given, the caption the Text write
// shows, and the captions of the following steps.
struct Beh {
    const char* meno;
    std::string text;
    int pocet;
    std::string poZapise;
    std::vector<std::string> kroky;
};

class TextScrollTest : public ::testing::TestWithParam<Beh> {};

TEST_P(TextScrollTest, StepsThroughTheDoubledText) {
    const Beh& b = GetParam();
    TextScroll s;
    s.NastavPocet(b.pocet);
    EXPECT_EQ(s.NastavText(b.text), b.poZapise);
    std::vector<std::string> kroky;
    for (std::size_t k = 0; k < b.kroky.size(); ++k)
        kroky.push_back(s.Krok());
    EXPECT_EQ(kroky, b.kroky);
    EXPECT_EQ(s.Text(), b.text);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TextScrollTest,
    ::testing::Values(Beh{"ABCD_3", "ABCD", 3, "ABC", {"ABC", "BCD", "CD ", "ABC", "BCD"}},
                      Beh{"empty_text", "", 3, "", {"  ", "  ", "  "}},
                      Beh{"empty_text_one_shown", "", 1, "", {" ", " "}},
                      Beh{"count_0", "ABCD", 0, "", {"", "", "", ""}},
                      Beh{"one_character", "A", 5, "A", {"A  A", "A  A", "A  A"}},
                      Beh{"shorter_than_the_count", "AB", 9, "AB", {"AB  AB", "AB  AB"}},
                      // Characters a user sees, not bytes: each Slovak letter is one step.
                      Beh{"diacritics", "Ľuboš", 3, "Ľub", {"Ľub", "ubo", "boš", "oš ", "Ľub"}}),
    [](const auto& test) { return std::string(test.param.meno); });

TEST(TextScroll, ANewTextKeepsThePositionAndANewCountWaitsForTheNextStep) {
    TextScroll s;
    s.NastavPocet(2);
    s.NastavText("ABCDE");
    EXPECT_EQ(s.Krok(), "AB");
    EXPECT_EQ(s.Krok(), "BC");
    EXPECT_EQ(s.Krok(), "CD");
    EXPECT_EQ(s.NastavText("VWXYZ"), "VW");
    EXPECT_EQ(s.Krok(), "YZ");
    s.NastavPocet(3);
    EXPECT_EQ(s.Pozicia(), 1);
    EXPECT_EQ(s.Krok(), "VWX");
}

} // namespace
} // namespace tilava
