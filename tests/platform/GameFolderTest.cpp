#include "platform/GameFolder.h"

#include "platform/Errors.h"
#include "tests/platform/TempFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// <tmp>/Game/Gridcrafter, with the current directory put back after each test.
class GameFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        ASSERT_TRUE(QDir(root_.path()).mkpath("Game/Gridcrafter"));
        previous_ = QDir::currentPath();
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    QString Root() const { return root_.path(); }
    QString Game() const { return Root() + "/Game"; }
    bool InEditorFolderWith(const QString& entry, bool folder) const
    {
        const QString path = Game() + "/" + entry;
        if (folder)
            EXPECT_TRUE(QDir().mkpath(path));
        else
            WriteBytes(path, "[General]\n");
        EXPECT_TRUE(QDir::setCurrent(Game() + "/Gridcrafter"));
        const bool found = InGameEditorFolder();
        EXPECT_TRUE(folder ? QDir(path).removeRecursively() : QFile::remove(path));
        return found;
    }

private:
    QTemporaryDir root_;
    QString previous_;
};

TEST_F(GameFolderTest, AnEditorFolderHasTheSettingsFileOrTheSpritesBesideIt)
{
    ASSERT_TRUE(QDir::setCurrent(Game() + "/Gridcrafter"));
    EXPECT_FALSE(InGameEditorFolder());
    EXPECT_TRUE(InEditorFolderWith("Korvane.INI", false));
    EXPECT_TRUE(InEditorFolderWith("korvane.ini", false)) << "found in any letter case";
    EXPECT_TRUE(InEditorFolderWith("Sprites", true));
    EXPECT_TRUE(InEditorFolderWith("SPRITES", true));
    EXPECT_FALSE(InEditorFolderWith("Sprites", false)) << "a file named Sprites holds no sheets";
    EXPECT_FALSE(InEditorFolderWith("Korvane.INI", true)) << "nor is a folder a settings file";
}

TEST_F(GameFolderTest, EnteringGoesIntoTheGamesEditorFolderOrSaysWhyNot)
{
    EnterGameFolder(Game());
    EXPECT_EQ(QDir::currentPath(), QDir(Game() + "/Gridcrafter").canonicalPath());

    ASSERT_TRUE(QDir::setCurrent(Root()));
    try {
        EnterGameFolder(Root() + "/Elsewhere");
        ADD_FAILURE() << "entered a game folder that does not exist";
    } catch (const GcError& error) {
        EXPECT_EQ(error.Text(),
                  "Cannot enter " + Root() + "/Elsewhere/Gridcrafter: No such file or directory");
    }
    ASSERT_TRUE(QDir(Root()).mkpath("Plain"));
    WriteBytes(Root() + "/Plain/Gridcrafter", "");
    EXPECT_THROW(EnterGameFolder(Root() + "/Plain"), GcError);
    EXPECT_EQ(QDir::currentPath(), QDir(Root()).canonicalPath()) << "left where it was";
}

}  // namespace
