#include "DateUtils.h"

#include <gtest/gtest.h>

TEST(DateUtils, WholeMillisecond)
{
    using namespace LumitraHost;
    const TDateTime T = 0.5 + 1.0 / 86400.0;
    EXPECT_EQ(SecondOf(T), 1);
    EXPECT_EQ(HourOf(T), 12);
}
