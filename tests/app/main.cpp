#include "app/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The windows are tested off screen, also when the build lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The editor's own application object, so that its default error handler is in place.
    TApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
