#include "model/TextScroll.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tilava {
namespace {

// One run of a scrolling label: the text and count it is given, the caption the Text write
// shows, and the captions of the following steps.
struct ScrollRun {
    const char* meno;
    std::string text;
    int count;
    std::string afterWrite;
    std::vector<std::string> steps;
};

class TextScrollTest : public ::testing::TestWithParam<ScrollRun> {};

TEST_P(TextScrollTest, StepsThroughTheDoubledText) {
    const ScrollRun& b = GetParam();
    TextScroll s;
    s.SetCount(b.count);
    EXPECT_EQ(s.SetText(b.text), b.afterWrite);
    std::vector<std::string> steps;
    for (std::size_t k = 0; k < b.steps.size(); ++k)
        steps.push_back(s.Step());
    EXPECT_EQ(steps, b.steps);
    EXPECT_EQ(s.Text(), b.text);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TextScrollTest,
    ::testing::Values(ScrollRun{"ABCD_3", "ABCD", 3, "ABC", {"ABC", "BCD", "CD ", "ABC", "BCD"}},
                      ScrollRun{"empty_text", "", 3, "", {"  ", "  ", "  "}},
                      ScrollRun{"empty_text_one_shown", "", 1, "", {" ", " "}},
                      ScrollRun{"count_0", "ABCD", 0, "", {"", "", "", ""}},
                      ScrollRun{"one_character", "A", 5, "A", {"A  A", "A  A", "A  A"}},
                      ScrollRun{"shorter_than_the_count", "AB", 9, "AB", {"AB  AB", "AB  AB"}},
                      // Characters a user sees, not bytes: each Slovak letter is one step.
                      ScrollRun{
                          "diacritics", "Ľuboš", 3, "Ľub", {"Ľub", "ubo", "boš", "oš ", "Ľub"}}),
    [](const auto& test) { return std::string(test.param.meno); });

TEST(TextScroll, ANewTextKeepsThePositionAndANewCountWaitsForTheNextStep) {
    TextScroll s;
    s.SetCount(2);
    s.SetText("ABCDE");
    EXPECT_EQ(s.Step(), "AB");
    EXPECT_EQ(s.Step(), "BC");
    EXPECT_EQ(s.Step(), "CD");
    EXPECT_EQ(s.SetText("VWXYZ"), "VW");
    EXPECT_EQ(s.Step(), "YZ");
    s.SetCount(3);
    EXPECT_EQ(s.Position(), 1);
    EXPECT_EQ(s.Step(), "VWX");
}

} // namespace
} // namespace tilava
