#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <memory>

using tilava::SingleInstance;

namespace {

std::string TestName(const char* suffix) {
    return std::string("Tilava|SingleInstanceTest|") + suffix;
}

TEST(SingleInstance, SecondClaimInTheSameProcessIsSecond) {
    auto first = std::make_unique<SingleInstance>(TestName("same"));
    ASSERT_TRUE(first->JePrva());
    {
        SingleInstance second(TestName("same"));
        EXPECT_FALSE(second.JePrva());
        SingleInstance other(TestName("other"));
        EXPECT_TRUE(other.JePrva()) << "names must be independent";
    }
    first.reset();
    SingleInstance again(TestName("same"));
    EXPECT_TRUE(again.JePrva()) << "the claim must end with its owner";
}

} // namespace
