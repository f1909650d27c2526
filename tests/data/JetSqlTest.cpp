#include <gtest/gtest.h>

TEST(Placeholder, BuildsUntilTheRealCasesArrive)
{
    EXPECT_EQ(1 + 1, 2);
}
