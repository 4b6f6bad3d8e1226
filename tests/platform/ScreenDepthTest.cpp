#include "platform/ScreenDepth.h"

#include <gtest/gtest.h>

TEST(ScreenDepth, AnInstalledSourceWinsUntilRemoved)
{
    SetScreenDepthSource([] { return 8; });
    EXPECT_EQ(ScreenBitsPerPixel(), 8);
    SetScreenDepthSource({});
    EXPECT_GE(ScreenBitsPerPixel(), 16);  // the offscreen screen is a true-colour one
}
