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
    ASSERT_TRUE(first->IsFirst());
    {
        SingleInstance second(TestName("same"));
        EXPECT_FALSE(second.IsFirst());
        SingleInstance other(TestName("other"));
        EXPECT_TRUE(other.IsFirst()) << "names must be independent";
    }
    first.reset();
    SingleInstance again(TestName("same"));
    EXPECT_TRUE(again.IsFirst()) << "the claim must end with its owner";
}

} // namespace
