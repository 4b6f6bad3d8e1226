#include "app/Application.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

namespace {

// Each test starts without preferences (no recent maps, no window place) and without
// recovery files, and no test reaches the user's own, also when the program is run by hand.
class FreshPreferences : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override
    {
        folder_ = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_->path());
        qputenv("XDG_STATE_HOME", QFile::encodeName(folder_->filePath("state")));
    }

    std::unique_ptr<QTemporaryDir> folder_;
};

}  // namespace

int main(int argc, char** argv)
{
    // The windows are tested off screen, also when the build lists the tests.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The editor's own application object, so that its default error handler is in place.
    TApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshPreferences);
    return RUN_ALL_TESTS();
}
