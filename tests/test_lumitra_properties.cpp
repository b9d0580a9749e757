#include "LumitraProbe.h"

#include <gtest/gtest.h>

TEST(Placeholder, Constructs)
{
    TLumitra Clock;
    EXPECT_EQ(Clock.Width(), 128);
}
