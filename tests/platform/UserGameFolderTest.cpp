#include "platform/UserGameFolder.h"

#include "platform/Errors.h"
#include "tests/platform/TempFiles.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

TEST(UserGameFolder, LiesUnderTheDataHomeOrTheHomesLocalShare)
{
    const ScopedEnvironment home("HOME", QByteArray("/home/korvane"));
    {
        const ScopedEnvironment data("XDG_DATA_HOME", QByteArray("/data/k/"));
        EXPECT_EQ(UserGameFolder(), "/data/k/gridcrafter/game");
    }
    const std::optional<QByteArray> ignored[] = {std::nullopt, QByteArray(), QByteArray("data/k")};
    for (const std::optional<QByteArray>& value : ignored) {
        const ScopedEnvironment data("XDG_DATA_HOME", value);
        EXPECT_EQ(UserGameFolder(), "/home/korvane/.local/share/gridcrafter/game")
            << (value ? value->toStdString() : "unset");
    }
}

// Installed sheets in <tmp>/sheets, the user's game folder to be at <tmp>/data/game.
class LayOutGameFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(root_.path()).mkpath("sheets"));
        WriteBytes(Sheets() + "/Height.BMP", "heights");
        WriteBytes(Sheets() + "/GROUND.BMP", "ground");
    }

    QString Root() const { return root_.path(); }
    QString Sheets() const { return Root() + "/sheets"; }
    QString Game() const { return Root() + "/data/game"; }
    QStringList Sprites() const
    {
        return QDir(Game() + "/Sprites").entryList(QDir::Files, QDir::Name);
    }

private:
    QTemporaryDir root_;
};

TEST_F(LayOutGameFolderTest, AFirstLayOutCopiesTheSheetsAndMakesTheEditorFolder)
{
    ASSERT_TRUE(
        QFile::setPermissions(Sheets() + "/GROUND.BMP", QFile::ReadOwner | QFile::ReadOther));

    LayOutGameFolder(Game(), Sheets());

    EXPECT_TRUE(QFileInfo(Game() + "/Gridcrafter").isDir());
    EXPECT_EQ(Sprites(), (QStringList{"GROUND.BMP", "Height.BMP"}));
    EXPECT_EQ(ReadBytes(Game() + "/Sprites/Height.BMP"), "heights");
    EXPECT_TRUE(QFileInfo(Game() + "/Sprites/GROUND.BMP").permissions() & QFile::WriteOwner)
        << "the user's own copy, to change";
    EXPECT_FALSE(QFile::exists(Game() + "/Korvane.INI"))
        << "left to the start-up, with its warning";
}

TEST_F(LayOutGameFolderTest, ALaterLayOutKeepsWhatIsThereAndFillsInOnlyWhatIsMissing)
{
    LayOutGameFolder(Game(), Sheets());
    WriteBytes(Game() + "/Sprites/Height.BMP", "the user's heights");
    ASSERT_TRUE(QFile::rename(Game() + "/Sprites/GROUND.BMP", Game() + "/Sprites/ground.bmp"));
    WriteBytes(Game() + "/Sprites/MINE.BMP", "the user's own");
    WriteBytes(Game() + "/Korvane.INI", "[General]\n");
    WriteBytes(Sheets() + "/ROAD.BMP", "roads");

    LayOutGameFolder(Game(), Sheets());

    EXPECT_EQ(Sprites(), (QStringList{"Height.BMP", "MINE.BMP", "ROAD.BMP", "ground.bmp"}))
        << "ground.bmp is GROUND.BMP as the editor finds it";
    EXPECT_EQ(ReadBytes(Game() + "/Sprites/Height.BMP"), "the user's heights");
    EXPECT_EQ(ReadBytes(Game() + "/Sprites/ROAD.BMP"), "roads");
    EXPECT_EQ(ReadBytes(Game() + "/Korvane.INI"), "[General]\n");

    ASSERT_TRUE(QFile::remove(Game() + "/Sprites/Height.BMP"));
    LayOutGameFolder(Game(), Sheets());
    EXPECT_EQ(ReadBytes(Game() + "/Sprites/Height.BMP"), "heights") << "a deleted sheet comes back";
}

TEST_F(LayOutGameFolderTest, ASpriteFolderInAnotherLetterCaseIsTheOneFilled)
{
    ASSERT_TRUE(QDir().mkpath(Game() + "/SPRITES"));
    ASSERT_TRUE(QFile::link(Root() + "/nowhere", Game() + "/SPRITES/Height.BMP"));

    LayOutGameFolder(Game(), Sheets());

    EXPECT_EQ(QDir(Game()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name),
              (QStringList{"Gridcrafter", "SPRITES"}));
    EXPECT_TRUE(QFile::exists(Game() + "/SPRITES/GROUND.BMP"));
    EXPECT_TRUE(QFileInfo(Game() + "/SPRITES/Height.BMP").isSymLink()) << "the user's link is kept";
}

TEST_F(LayOutGameFolderTest, WithoutInstalledSheetsTheFoldersAreStillLaidOut)
{
    LayOutGameFolder(Game(), Root() + "/not installed");

    EXPECT_TRUE(QFileInfo(Game() + "/Gridcrafter").isDir());
    EXPECT_TRUE(QFileInfo(Game() + "/Sprites").isDir());
    EXPECT_TRUE(Sprites().isEmpty());
}

TEST_F(LayOutGameFolderTest, AFolderThatCannotBeMadeIsNamed)
{
    ASSERT_TRUE(QDir().mkpath(Game()));
    WriteBytes(Game() + "/Gridcrafter", "a file, not a folder");
    try {
        LayOutGameFolder(Game(), Sheets());
        ADD_FAILURE() << "laid out over a file";
    } catch (const GcError& error) {
        EXPECT_EQ(error.Text(), "Cannot create the folder " + Game() + "/Gridcrafter");
    }
    EXPECT_EQ(ReadBytes(Game() + "/Gridcrafter"), "a file, not a folder");
}

}  // namespace
