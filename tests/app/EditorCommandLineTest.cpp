// The editor's command line, before any window: what ends the run, the game folder it
// enters and the map it loads afterwards.

#include "app/CommandLine.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    EXPECT_EQ(PrepareEditorStart({"--version"}).Line.Message, "gridcrafter " GC_EXPECTED_VERSION "\n");
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
    EXPECT_TRUE(start.Line.Message.startsWith("gridcrafter: Cannot enter " + Game() + "/Gridcrafter: "))
        << start.Line.Message.toStdString();
    EXPECT_TRUE(start.Line.Message.endsWith("\n"));
    EXPECT_EQ(QDir::currentPath(), Start());
}

}  // namespace
