// The editor's command line, before any window: what ends the run, the game folder it
// enters and the map it loads afterwards.

#include "app/CommandLine.h"
#include "platform/Errors.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// Started in <tmp>/start beside the game folder <tmp>/game; the directory is put back.
class EditorCommandLine : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(root.path()).mkpath("start/maps"));
        ASSERT_TRUE(QDir(root.path()).mkpath("game/Gridcrafter"));
        ASSERT_TRUE(QDir::setCurrent(Start()));
    }
    void TearDown() override { QDir::setCurrent(previous); }

    QString Start() const { return QDir(root.path()).canonicalPath() + "/start"; }
    QString Game() const { return QDir(root.path()).canonicalPath() + "/game"; }

    QTemporaryDir root;
    QString previous = QDir::currentPath();
};

// --help and unknown options are the shared parser's, run end to end; the editor's own
// part is one map at most, and its version.
TEST_F(EditorCommandLine, ASecondMapEndsTheRunWithTheUsage)
{
    const EditorStart start = PrepareEditorStart({"a.KVX", "b.KVX"});
    EXPECT_EQ(start.Line.ExitStatus, 2);
    EXPECT_TRUE(start.Line.Message.startsWith("Usage: gridcrafter [--game DIR] [MAP.KVX]\n"));
    EXPECT_TRUE(start.MapPath.isEmpty());
    EXPECT_EQ(PrepareEditorStart({"--version"}).Line.Message,
              "gridcrafter " GC_EXPECTED_VERSION "\n");
}

TEST_F(EditorCommandLine, TheMapIsTakenFromWhereTheEditorStartedAlsoInAGameFolder)
{
    const EditorStart plain = PrepareEditorStart({});
    EXPECT_FALSE(plain.Line.ExitStatus);
    EXPECT_TRUE(plain.MapPath.isEmpty());
    EXPECT_EQ(QDir::currentPath(), Start());

    EXPECT_EQ(PrepareEditorStart({"maps/../maps/a.KVX"}).MapPath, Start() + "/maps/a.KVX");
    EXPECT_EQ(QDir::currentPath(), Start());

    const EditorStart inGame = PrepareEditorStart({"maps/a.KVX", "--game", "../game"});
    EXPECT_FALSE(inGame.Line.ExitStatus) << inGame.Line.Message.toStdString();
    EXPECT_EQ(inGame.MapPath, Start() + "/maps/a.KVX");
    EXPECT_EQ(QDir::currentPath(), Game() + "/Gridcrafter");

    EXPECT_EQ(PrepareEditorStart({"--", "-odd.KVX"}).MapPath, Game() + "/Gridcrafter/-odd.KVX");
}

TEST_F(EditorCommandLine, AGameFolderWithoutAnEditorFolderIsRefusedWithTheReason)
{
    ASSERT_TRUE(QDir(Game()).rmdir("Gridcrafter"));

    const EditorStart start = PrepareEditorStart({"--game", Game(), "a.KVX"});

    EXPECT_EQ(start.Line.ExitStatus, 2);
    EXPECT_TRUE(
        start.Line.Message.startsWith("gridcrafter: Cannot enter " + Game() + "/Gridcrafter: "))
        << start.Line.Message.toStdString();
    EXPECT_TRUE(start.Line.Message.endsWith("\n"));
    EXPECT_EQ(QDir::currentPath(), Start());
}

// The start-up's choice of game folder once the command line is read, with the user's data
// folder at <tmp>/data and installed sheets at <tmp>/sheets.
class UserGameFolderChoice : public EditorCommandLine {
protected:
    void SetUp() override
    {
        EditorCommandLine::SetUp();
        ASSERT_TRUE(QDir(root.path()).mkpath("sheets"));
        WriteFile(Sheets() + "/Height.BMP", "heights");
    }

    QString Sheets() const { return QDir(root.path()).canonicalPath() + "/sheets"; }
    QString Data() const { return QDir(root.path()).canonicalPath() + "/data"; }
    QString UserGame() const { return Data() + "/gridcrafter/game"; }

    // Through the same steps as the editor's main.
    EditorStart Choose(const QStringList& arguments) const
    {
        EditorStart start = PrepareEditorStart(arguments);
        EXPECT_FALSE(start.Line.ExitStatus) << start.Line.Message.toStdString();
        EnterUserGameFolderOutsideAGame(start.Line, Sheets());
        return start;
    }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ScopedEnvironment data{"XDG_DATA_HOME", Data().toLocal8Bit()};
};

// Laid out once and reused: LayOutGameFolder's tests.
TEST_F(UserGameFolderChoice, OutsideAGameTheUsersFolderIsLaidOutAndEntered)
{
    const EditorStart start = Choose({"maps/a.KVX"});

    EXPECT_EQ(QDir::currentPath(), UserGame() + "/Gridcrafter");
    EXPECT_EQ(ReadFile(UserGame() + "/Sprites/Height.BMP"), "heights");
    EXPECT_EQ(start.MapPath, Start() + "/maps/a.KVX") << "taken from where the editor started";
}

TEST_F(UserGameFolderChoice, InsideAGameOrWithGameGivenNothingOfTheUsersFolderIsMade)
{
    ASSERT_TRUE(QDir(Game()).mkdir("Sprites"));
    ASSERT_TRUE(QDir::setCurrent(Game() + "/Gridcrafter"));
    Choose({});
    EXPECT_EQ(QDir::currentPath(), Game() + "/Gridcrafter");

    ASSERT_TRUE(QDir::setCurrent(Start()));
    Choose({"--game", "../game"});
    EXPECT_EQ(QDir::currentPath(), Game() + "/Gridcrafter");

    EXPECT_FALSE(QFileInfo::exists(Data()));
    EXPECT_TRUE(QDir(Game() + "/Sprites").isEmpty()) << "a game's sprite folder is never filled";
}

TEST_F(UserGameFolderChoice, AUsersFolderThatCannotBeMadeIsReportedAndTheDirectoryKept)
{
    WriteFile(Data(), "a file where the data folder should be");

    try {
        Choose({});
        ADD_FAILURE() << "entered a folder that cannot exist";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(UserGame())) << error.Text().toStdString();
    }
    EXPECT_EQ(QDir::currentPath(), Start());
}

}  // namespace
