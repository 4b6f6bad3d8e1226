#include "app/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // The dialogs are checked offscreen; no screen is needed, also when the build lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The editor's application object: its fonts, and its handler for errors of a start-up.
    TApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
