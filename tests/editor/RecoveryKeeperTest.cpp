// This editor's recovery: written a delay after a change and at once after a whole-map step,
// removed by a save, a load or the close, a failure told once, a restored recovery taken
// over, and other editors with unsaved changes to a loaded file named.

#include "editor/RecoveryKeeper.h"

#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/CreationCommands.h"
#include "editor/FileCommands.h"
#include "tests/core/FreshMap.h"
#include "tests/editor/RecoveryFiles.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

using namespace std::chrono_literals;

class RecoveryKeeperTest : public FreshMap {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    QStringList notices;
    std::unique_ptr<RecoveryKeeper> keeper;

    void SetUp() override
    {
        FreshMap::SetUp();
        Keep(dir.filePath("recovery"));
    }
    void TearDown() override
    {
        keeper.reset();
        FreshMap::TearDown();
    }

    void Keep(const QString& folder)
    {
        keeper = std::make_unique<RecoveryKeeper>(
            folder, [this](const QString& text) { notices << text; }, 50ms);
    }

    static void Edit(int x, int y)
    {
        const MapCell before = Cell(x, y);
        Cell(x, y).Overlays.Fire ^= 1;
        RecordCellChange(x, y, 'F', before);
    }

    std::optional<MapRecovery> OnDisk() const
    {
        keeper->WaitForDisk();
        QFile file(keeper->OwnFile());
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return DecodeMapRecovery(file.readAll());
    }
    bool Kept() const { return QFileInfo::exists(keeper->OwnFile()); }
};

TEST_F(RecoveryKeeperTest, AnEditIsWrittenAfterTheDelayAndAWholeMapStepAtOnce)
{
    EXPECT_EQ(QFileInfo(keeper->OwnFile()).fileName(), RecoveryFileName(ThisProcess()));
    EXPECT_EQ(QFileInfo(keeper->OwnFile()).path(), dir.filePath("recovery"));
    MapName = "/maps/a.KVX";
    CursorX = 4;
    CursorY = 9;
    Edit(4, 9);
    EXPECT_FALSE(OnDisk()) << "not before the delay";
    ASSERT_TRUE(QTest::qWaitFor([this] { return Kept(); }, 5000));
    std::optional<MapRecovery> kept = OnDisk();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Map, GridBytes());
    EXPECT_EQ(kept->Name, "/maps/a.KVX");
    EXPECT_EQ(kept->File, "/maps/a.KVX");
    EXPECT_EQ(kept->CursorX, 4);
    EXPECT_EQ(kept->CursorY, 9);
    EXPECT_LE(kept->Time.secsTo(QDateTime::currentDateTimeUtc()), 60);

    prompts.AnswerYesNo(true);
    NewMapCommand([] {});
    kept = OnDisk();
    ASSERT_TRUE(kept) << "without waiting for the delay";
    EXPECT_EQ(kept->Map, GridBytes());
    EXPECT_EQ(kept->Name, "NewMap");
}

TEST_F(RecoveryKeeperTest, EditsKeptComingAreWrittenEveryDelayNotOnlyWhenTheyStop)
{
    Edit(1, 1);
    QElapsedTimer editing;
    editing.start();
    // A change every 10 ms for four delays: written meanwhile all the same.
    while (!Kept() && editing.elapsed() < 5000) {
        Edit(2, 2);
        QTest::qWait(10);
    }
    EXPECT_TRUE(Kept());
}

TEST_F(RecoveryKeeperTest, ASaveALoadOrTheCloseRemovesItAndTheCloseEndsTheKeeping)
{
    Edit(1, 1);
    keeper->KeepNow();
    ASSERT_TRUE(OnDisk());
    MarkMapSaved();
    EXPECT_FALSE(OnDisk());
    Edit(1, 1);
    keeper->KeepNow();
    EXPECT_TRUE(OnDisk());
    UndoMapChange();
    EXPECT_FALSE(OnDisk()) << "back at the saved state";

    Edit(2, 2);
    keeper->KeepNow();
    ASSERT_TRUE(OnDisk());
    keeper->Close();
    EXPECT_FALSE(OnDisk());
    Edit(3, 3);
    keeper->KeepNow();
    prompts.AnswerYesNo(true);
    NewMapCommand([] {});
    EXPECT_FALSE(OnDisk());
}

TEST_F(RecoveryKeeperTest, TheEndOfTheKeeperRemovesItToo)
{
    Edit(1, 1);
    keeper->KeepNow();
    const QString own = keeper->OwnFile();
    keeper.reset();
    EXPECT_FALSE(QFileInfo::exists(own));
}

TEST_F(RecoveryKeeperTest, AFailureIsToldOnceUntilAWriteSucceeds)
{
    const QString blocked = dir.filePath("blocked");
    WriteAll(blocked, "a file where the folder belongs");
    Keep(blocked + "/recovery");
    const QString told = "No recovery copy of the unsaved changes: Cannot create the folder " +
                         blocked + "/recovery";

    Edit(1, 1);
    for (int i = 0; i < 3; ++i) {
        keeper->KeepNow();
        keeper->WaitForDisk();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(notices, QStringList{told});
    EXPECT_TRUE(MapModified) << "editing goes on";

    QFile::remove(blocked);
    keeper->KeepNow();
    keeper->WaitForDisk();
    QCoreApplication::processEvents();
    EXPECT_TRUE(Kept());
    QDir(blocked).removeRecursively();
    WriteAll(blocked, "again");
    keeper->KeepNow();
    keeper->WaitForDisk();
    QCoreApplication::processEvents();
    EXPECT_EQ(notices, (QStringList{told, told}));
}

TEST_F(RecoveryKeeperTest, ARestoredRecoveryIsTakenOverBeforeTheAbandonedFileGoes)
{
    const QString abandoned =
        WriteRecoveryFile(dir.filePath("recovery"), DeadEditor(7), RecoveryOf("/maps/b", 1));
    RestoreMapRecovery(RecoveryOf("/maps/b", 1));
    keeper->TakeOver(abandoned);
    const std::optional<MapRecovery> kept = OnDisk();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->Map, RecoveryOf("/maps/b", 1).Map);
    EXPECT_EQ(kept->Name, "/maps/b");
    EXPECT_FALSE(QFileInfo::exists(abandoned));

    const QString discarded =
        WriteRecoveryFile(dir.filePath("recovery"), DeadEditor(8), RecoveryOf("/maps/c", 1));
    keeper->Discard(discarded);
    keeper->WaitForDisk();
    EXPECT_FALSE(QFileInfo::exists(discarded));
}

TEST_F(RecoveryKeeperTest, AnAbandonedRecoveryStaysWhileThisEditorCannotKeepTheMap)
{
    const QString abandoned =
        WriteRecoveryFile(dir.filePath("recovery"), DeadEditor(7), RecoveryOf("/maps/b", 1));
    WriteAll(dir.filePath("blocked"), "a file where the folder belongs");
    Keep(dir.filePath("blocked/recovery"));
    RestoreMapRecovery(RecoveryOf("/maps/b", 1));
    keeper->TakeOver(abandoned);
    keeper->WaitForDisk();
    EXPECT_TRUE(QFileInfo::exists(abandoned));
}

TEST_F(RecoveryKeeperTest, ALoadNamesOtherRunningEditorsWithUnsavedChangesToTheFile)
{
    const RunningChild other;
    const QString map = dir.filePath("shared.KVX");
    const QString alone = dir.filePath("alone.KVX");
    WriteAll(map, GridBytes());
    WriteAll(alone, GridBytes());
    WriteRecoveryFile(dir.filePath("recovery"), other.Identity(), RecoveryOf(map, 1, map));
    WriteRecoveryFile(dir.filePath("recovery"), DeadEditor(9), RecoveryOf(alone, 1, alone));

    LoadNamedMapCommand(alone, [] {});
    EXPECT_TRUE(notices.isEmpty()) << "a dead editor's recovery has no say";
    LoadNamedMapCommand(map, [] {});
    EXPECT_EQ(notices,
              QStringList{QStringLiteral("Open with unsaved changes in another Gridcrafter "
                                         "(process %1): %2")
                              .arg(other.Identity().Pid)
                              .arg(map)});
    prompts.AnswerFileDialog(map);
    SaveMapCommand();
    EXPECT_EQ(notices.size(), 1) << "a save is not a load";
}

}  // namespace
