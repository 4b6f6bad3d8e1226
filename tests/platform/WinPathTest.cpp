#include "platform/WinPath.h"

#include "tests/platform/TempFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

namespace {

// <tmp>/Game/Sprites/Height.BMP and <tmp>/Game/Editor as the current directory.
class WinPathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root_.isValid());
        ASSERT_TRUE(QDir(root_.path()).mkpath("Game/Sprites"));
        ASSERT_TRUE(QDir(root_.path()).mkpath("Game/Editor"));
        WriteBytes(root_.path() + "/Game/Sprites/Height.BMP", "BM");
        previous_ = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(root_.path() + "/Game/Editor"));
    }
    void TearDown() override { QDir::setCurrent(previous_); }

    QString Root() const { return root_.path(); }

private:
    QTemporaryDir root_;
    QString previous_;
};

}  // namespace

TEST_F(WinPathTest, BackslashesBecomeSlashesAndExactNamesStay)
{
    EXPECT_EQ(NativePath("..\\Sprites\\Height.BMP"), "../Sprites/Height.BMP");
    EXPECT_EQ(NativePath("..\\Sprites\\"), "../Sprites/");
    EXPECT_EQ(NativePath(""), "");
}

TEST_F(WinPathTest, EachComponentIsMatchedWithoutRegardToCase)
{
    EXPECT_EQ(NativePath("..\\SPRITES\\height.bmp"), "../Sprites/Height.BMP");
    EXPECT_EQ(NativePath("..\\sprites\\"), "../Sprites/");
    EXPECT_EQ(NativePath(Root() + "/GAME/sprites/HEIGHT.bmp"), Root() + "/Game/Sprites/Height.BMP");
    EXPECT_EQ(NativePath(".\\..\\.\\sPrItEs\\HeIgHt.BmP"), "./.././Sprites/Height.BMP");
}

TEST_F(WinPathTest, UnmatchedComponentsAreKeptAsWritten)
{
    EXPECT_EQ(NativePath("..\\Sprites\\Ground.BMP"), "../Sprites/Ground.BMP");
    EXPECT_EQ(NativePath("..\\NoSuch\\height.bmp"), "../NoSuch/height.bmp");
    // A later component is still resolved after an earlier one needed matching.
    EXPECT_EQ(NativePath("..\\sprites\\Mechs.bmp"), "../Sprites/Mechs.bmp");
}

TEST_F(WinPathTest, AnExactEntryWinsOverOneThatDiffersInCase)
{
    WriteBytes(Root() + "/Game/Sprites/height.bmp", "BM");
    EXPECT_EQ(NativePath("..\\Sprites\\height.bmp"), "../Sprites/height.bmp");
    EXPECT_EQ(NativePath("..\\Sprites\\Height.BMP"), "../Sprites/Height.BMP");
    // Neither spelling exact: the choice is the same on every call and is one of the two.
    const QString chosen = NativePath("..\\Sprites\\HEIGHT.BMP");
    EXPECT_TRUE(chosen == "../Sprites/Height.BMP" || chosen == "../Sprites/height.bmp")
        << chosen.toStdString();
    EXPECT_EQ(NativePath("..\\Sprites\\HEIGHT.BMP"), chosen);
}

TEST_F(WinPathTest, RelativePathsStayRelativeToTheCurrentDirectory)
{
    WriteBytes(Root() + "/Game/Editor/Map1.KVX", "x");
    EXPECT_EQ(NativePath("map1.kvx"), "Map1.KVX");
    EXPECT_EQ(NativePath("MAP1.kvx"), "Map1.KVX");
}
