#include "platform/ScreenDepth.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

TEST(ScreenDepth, AnInstalledSourceWinsUntilRemoved)
{
    SetScreenDepthSource([] { return 8; });
    EXPECT_EQ(ScreenBitsPerPixel(), 8);
    SetScreenDepthSource({});
    EXPECT_GE(ScreenBitsPerPixel(), 16);  // the offscreen screen is a true-colour one
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
