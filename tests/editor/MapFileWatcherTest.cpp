// The open map's file changed by another program: loaded again without unsaved edits, asked
// about with them, watched on after a replace by a rename, a removal and junk told; the
// editor's own saves are no change, and Save over a file changed meanwhile asks first.

#include "editor/MapFileWatcher.h"

#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/FileCommands.h"
#include "tests/core/FreshMap.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace std::chrono_literals;

class MapFileWatcherTest : public FreshMap {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    QStringList notices;
    int redraws = 0;
    std::unique_ptr<MapFileWatcher> watcher;
    QString map;

    void SetUp() override
    {
        FreshMap::SetUp();
        watcher = std::make_unique<MapFileWatcher>([this](const QString& text) { notices << text; },
                                                   [this] { ++redraws; }, 20ms);
        map = dir.filePath("watched.KVX");
        WriteAll(map, MapBytes(1));
        LoadNamedMapCommand(map, [] {});
    }
    void TearDown() override
    {
        watcher.reset();
        FreshMap::TearDown();
    }

    // A map whose cell (1, 1) has that ground.
    static QByteArray MapBytes(int ground)
    {
        QByteArray bytes(sizeof(MapGridType), '\0');
        bytes[8] = static_cast<char>(ground);
        return bytes;
    }
    static int GroundShown() { return Cell(1, 1).Ground; }
    static void Edit()
    {
        const MapCell before = Cell(5, 5);
        Cell(5, 5).Overlays.Fire ^= 1;
        RecordCellChange(5, 5, 'F', before);
    }
    // As editors and our own save do: a new file renamed over the old.
    void ReplaceByRename(const QString& path, const QByteArray& bytes) const
    {
        const QString temporary = dir.filePath("new.tmp");
        WriteAll(temporary, bytes);
        ASSERT_EQ(
            ::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()),
            0);
    }
    // Waits for done, or for the watcher to have had ample time when nothing is to happen.
    static bool Eventually(const std::function<bool()>& done)
    {
        return QTest::qWaitFor(done, 5000);
    }
    static void Meanwhile() { QTest::qWait(300); }
};

TEST_F(MapFileWatcherTest, WithoutUnsavedEditsAChangeIsLoadedAgainAsOneStep)
{
    EXPECT_EQ(watcher->File(), map);
    WriteAll(map, MapBytes(2));
    ASSERT_TRUE(Eventually([] { return GroundShown() == 2; }));
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(UndoStepName(), "Load");
    EXPECT_EQ(notices,
              QStringList{"Changed by another program and loaded again (Undo goes back): " + map});
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(prompts.Questions.isEmpty());
    UndoMapChange();
    EXPECT_EQ(GroundShown(), 1) << "Undo shows what was there";
}

TEST_F(MapFileWatcherTest, AFileReplacedByARenameIsWatchedOnAfterwards)
{
    ReplaceByRename(map, MapBytes(3));
    ASSERT_TRUE(Eventually([] { return GroundShown() == 3; }));
    WriteAll(map, MapBytes(4));
    ASSERT_TRUE(Eventually([] { return GroundShown() == 4; }));
    ReplaceByRename(map, MapBytes(5));
    ASSERT_TRUE(Eventually([] { return GroundShown() == 5; }));
    EXPECT_EQ(notices.size(), 3);
    EXPECT_FALSE(MapModified);
}

TEST_F(MapFileWatcherTest, WithUnsavedEditsTheUserIsAskedAndYesLoadsIt)
{
    Edit();
    prompts.AnswerYesNo(true);
    ReplaceByRename(map, MapBytes(6));
    ASSERT_TRUE(Eventually([] { return GroundShown() == 6; }));
    EXPECT_EQ(prompts.Questions,
              QStringList{map + " was changed by another program. Load it and lose your changes?"});
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(Cell(5, 5).Overlays.Fire, 0);
}

TEST_F(MapFileWatcherTest, NoKeepsTheEditsAndSaveOverTheFileAsksFirst)
{
    Edit();
    const QByteArray edited = GridBytes();
    prompts.AnswerYesNo(false);
    WriteAll(map, MapBytes(7));
    ASSERT_TRUE(Eventually([this] { return !prompts.Questions.isEmpty(); }));
    Meanwhile();
    EXPECT_EQ(prompts.Questions.size(), 1) << "the same change is not asked about again";
    EXPECT_EQ(GridBytes(), edited);
    EXPECT_TRUE(MapModified);

    const QString overwrite =
        map + " was changed by another program since you loaded it. Overwrite it?";
    prompts.AnswerFileDialog(map);
    prompts.AnswerYesNo(false);
    SaveMapCommand();
    EXPECT_EQ(prompts.Questions.last(), overwrite);
    EXPECT_EQ(ReadAll(map), MapBytes(7));
    EXPECT_TRUE(MapModified);

    // Ctrl+S, which writes into the map's file without a dialog, asks the same.
    prompts.AnswerYesNo(false);
    EXPECT_EQ(QuickSaveMapCommand(), "");
    EXPECT_EQ(prompts.Questions.size(), 3);
    EXPECT_EQ(prompts.Questions.last(), overwrite);
    EXPECT_EQ(ReadAll(map), MapBytes(7));
    EXPECT_TRUE(MapModified);

    prompts.AnswerYesNo(true);
    EXPECT_NE(QuickSaveMapCommand(), "");
    EXPECT_EQ(prompts.Questions.size(), 4);
    EXPECT_EQ(ReadAll(map), edited);
    EXPECT_FALSE(MapModified);
    Meanwhile();
    EXPECT_EQ(prompts.Questions.size(), 4) << "the own save is no change";
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(MapFileWatcherTest, OwnSavesAreNoChangeAndASaveUnderAnotherNameWatchesThatFile)
{
    for (int i = 0; i < 3; ++i) {
        Edit();
        prompts.AnswerFileDialog(map);
        SaveMapCommand();
    }
    const QString other = dir.filePath("other.KVX");
    Edit();
    prompts.AnswerFileDialog(other);
    SaveMapCommand();
    EXPECT_EQ(watcher->File(), other);
    WriteAll(map, MapBytes(8));
    Meanwhile();
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_NE(GroundShown(), 8) << "the old file is no longer the map's";

    WriteAll(other, MapBytes(9));
    ASSERT_TRUE(Eventually([] { return GroundShown() == 9; }));
}

TEST_F(MapFileWatcherTest, ARemovedFileLeavesTheMapUnsavedAndSaveWritesItWithoutAsking)
{
    const QByteArray shown = GridBytes();
    QFile::remove(map);
    ASSERT_TRUE(Eventually([this] { return !notices.isEmpty(); }));
    EXPECT_EQ(notices, QStringList{"Removed by another program; the map is kept, unsaved: " + map});
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(GridBytes(), shown);

    prompts.AnswerFileDialog(map);
    SaveMapCommand();
    EXPECT_EQ(ReadAll(map), shown);
    EXPECT_TRUE(prompts.Questions.isEmpty());
}

TEST_F(MapFileWatcherTest, AChangeThatIsNoMapIsToldAndNotLoaded)
{
    const QByteArray shown = GridBytes();
    WriteAll(map, "ten bytes!");
    ASSERT_TRUE(Eventually([this] { return !notices.isEmpty(); }));
    EXPECT_EQ(notices, QStringList{"Changed by another program: Cannot load map file " + map +
                                   ": the file holds 10 bytes, a map file holds 20480"});
    EXPECT_EQ(GridBytes(), shown);
    EXPECT_TRUE(MapModified) << "the file no longer holds the map shown";
    Meanwhile();
    EXPECT_EQ(notices.size(), 1);
}

TEST_F(MapFileWatcherTest, ANewMapHasNoFileToWatch)
{
    ChangeWholeMap(MapStep::New, [] { ClearMap(); });
    EXPECT_EQ(watcher->File(), "");
    WriteAll(map, MapBytes(10));
    Meanwhile();
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_EQ(MapName, "NewMap");
}

}  // namespace
