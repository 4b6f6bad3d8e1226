// The map commands of the main window: Save, Load (with the folder rule of the open
// dialog's preset), New, Clear and Random map.

#include "editor/CreationCommands.h"
#include "editor/FileCommands.h"

#include "core/Catalogue.h"
#include "core/MapCreation.h"
#include "core/MapFile.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "platform/BusyCursor.h"
#include "platform/Errors.h"
#include "settings/Settings.h"
#include "tests/core/FreshMap.h"
#include "tests/core/QtPrinters.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstring>
#include <set>

namespace {

// A fresh editor with scripted prompts, a recorded caption and busy cursor, and a folder.
class MapCommands : public FreshMap {
protected:
    ScriptedPrompts prompts;
    QTemporaryDir dir;
    QStringList captions;
    QStringList cursor;
    int redraws = 0;

    void SetUp() override
    {
        FreshMap::SetUp();
        SetCaptionSink([this](const QString& caption) { captions << caption; });
        SetBusyCursorHooks([this] { cursor << "busy"; }, [this] { cursor << "default"; });
    }
    void TearDown() override
    {
        SetBusyCursorHooks(nullptr, nullptr);
        FreshMap::TearDown();
    }

    void Load()
    {
        LoadMapCommand([this] { ++redraws; });
    }

    QString PathOf(const QString& name) const { return dir.filePath(name); }

    // A few edits, with padding and Reserved set too, so the whole record must travel.
    static void EditSomeCells()
    {
        Cell(1, 1).Height = 3;
        Cell(1, 1).Ground = tcMud;
        Cell(1, 1).Mines = 10;
        Cell(1, 1).Overlays.Fire = 1;
        Cell(1, 1).Overlays.Road = 1;
        Cell(32, 32).Overlays.River = 1;
        Cell(17, 5).Padding1[0] = 0xAB;
        Cell(17, 5).Padding2 = 0xCD;
        Cell(17, 5).Reserved = -2;
        MapModified = true;
    }
};

TEST_F(MapCommands, SaveWritesTheGridAndNamesTheMapAfterTheFile)
{
    EditSomeCells();
    const QString path = PathOf("desert.KVX");
    prompts.AnswerFileDialog(path);

    SaveMapCommand();

    EXPECT_EQ(prompts.DialogTitles, QStringList{"Write Map File"});
    EXPECT_EQ(prompts.DialogFileNames, QStringList{"NewMap"});
    EXPECT_EQ(ReadAll(path), GridBytes());
    EXPECT_EQ(MapName, path);
    EXPECT_EQ(captions, QStringList{"Korvane Gridcrafter : " + path});
    EXPECT_EQ(prompts.Informations, QStringList{"Map saved as " + path});
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
}

TEST_F(MapCommands, SaveDialogIsPresetWithTheMapName)
{
    MapName = "Random";
    prompts.AnswerFileDialog(std::nullopt);
    SaveMapCommand();

    MapName = "/maps/old.KVX";
    prompts.AnswerFileDialog(std::nullopt);
    SaveMapCommand();

    EXPECT_EQ(prompts.DialogFileNames, (QStringList{"Random", "/maps/old.KVX"}));
}

TEST_F(MapCommands, CancelledSaveChangesNothing)
{
    EditSomeCells();
    prompts.AnswerFileDialog(std::nullopt);

    SaveMapCommand();

    EXPECT_EQ(MapName, "NewMap");
    EXPECT_TRUE(MapModified);
    EXPECT_TRUE(captions.isEmpty());
    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_TRUE(cursor.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(MapCommands, FailedSaveNamesTheFileAndKeepsNameCaptionAndModifiedFlag)
{
    EditSomeCells();
    MapName = PathOf("kept.KVX");
    const QString unwritable = PathOf("no such folder/desert.KVX");
    prompts.AnswerFileDialog(unwritable);

    try {
        SaveMapCommand();
        ADD_FAILURE() << "the save reported no failure";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().contains(unwritable)) << error.Text().toStdString();
    }

    EXPECT_EQ(MapName, PathOf("kept.KVX"));
    EXPECT_TRUE(MapModified);
    EXPECT_TRUE(captions.isEmpty());
    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
}

TEST_F(MapCommands, SaveThenLoadGivesTheSameGridByteForByte)
{
    EditSomeCells();
    const QByteArray saved = GridBytes();
    const QString path = PathOf("round trip.KVX");
    prompts.AnswerFileDialog(path);
    SaveMapCommand();

    ClearMap();
    captions.clear();
    cursor.clear();
    prompts.AnswerFileDialog(path);
    Load();

    EXPECT_EQ(GridBytes(), saved);
    EXPECT_EQ(MapName, path);
    EXPECT_EQ(captions, QStringList{"Korvane Gridcrafter : " + path});
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
}

TEST_F(MapCommands, LoadAsksOnlyWithUnsavedEdits)
{
    const QString path = PathOf("plain.KVX");
    WriteAll(path, GridBytes());

    prompts.AnswerFileDialog(path);
    Load();
    EXPECT_TRUE(prompts.Questions.isEmpty());

    MapModified = true;
    prompts.AnswerYesNo(true);
    prompts.AnswerFileDialog(path);
    Load();
    EXPECT_EQ(prompts.Questions,
              QStringList{"Are you sure you want to load a map and discard this one?"});
    EXPECT_EQ(redraws, 2);
}

TEST_F(MapCommands, AfterSavingLoadAsksNothingUntilTheNextChange)
{
    EditSomeCells();
    const QString path = PathOf("saved.KVX");
    prompts.AnswerFileDialog(path);
    SaveMapCommand();

    prompts.AnswerFileDialog(path);
    Load();

    EXPECT_TRUE(prompts.Questions.isEmpty());
}

TEST_F(MapCommands, AnsweringNoToTheLoadQuestionShowsNoDialog)
{
    EditSomeCells();
    const QByteArray before = GridBytes();
    prompts.AnswerYesNo(false);

    Load();

    EXPECT_TRUE(prompts.DialogTitles.isEmpty());
    EXPECT_EQ(GridBytes(), before);
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(cursor.isEmpty());
}

TEST_F(MapCommands, OpenDialogIsPresetWithTheFolderOfTheMapName)
{
    prompts.AnswerFileDialog(std::nullopt);
    Load();
    MapName = PathOf("maps.KVX");
    prompts.AnswerFileDialog(std::nullopt);
    Load();

    EXPECT_EQ(prompts.DialogTitles, (QStringList{"Load Map File", "Load Map File"}));
    EXPECT_EQ(prompts.DialogFileNames, (QStringList{"", dir.path()}));
}

TEST_F(MapCommands, CancelledLoadChangesNothing)
{
    EditSomeCells();
    const QByteArray before = GridBytes();
    prompts.AnswerYesNo(true);
    prompts.AnswerFileDialog(std::nullopt);

    Load();

    EXPECT_EQ(GridBytes(), before);
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_TRUE(MapModified);
    EXPECT_TRUE(captions.isEmpty());
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(cursor.isEmpty());
}

TEST_F(MapCommands, UnreadableFilesAreRefusedAndNothingChanges)
{
    const QString shortFile = PathOf("short.KVX");
    WriteAll(shortFile, QByteArray(100, '\x05'));
    const QString folder = PathOf("folder.KVX");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.KVX"));
    const QString missing = PathOf("missing.KVX");

    EditSomeCells();
    MapName = PathOf("kept.KVX");
    const QByteArray before = GridBytes();
    for (const QString& path : {shortFile, folder, missing}) {
        cursor.clear();
        prompts.AnswerYesNo(true);
        prompts.AnswerFileDialog(path);
        try {
            Load();
            ADD_FAILURE() << "loaded " << path.toStdString();
        } catch (const GcError& error) {
            EXPECT_TRUE(error.Text().contains(path)) << error.Text().toStdString();
        }
        EXPECT_EQ(GridBytes(), before) << path.toStdString();
        EXPECT_EQ(MapName, PathOf("kept.KVX"));
        EXPECT_TRUE(MapModified);
        EXPECT_TRUE(captions.isEmpty());
        EXPECT_EQ(redraws, 0);
        EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
    }
}

TEST_F(MapCommands, ReadOnlyMapFilesLoad)
{
    Cell(4, 4).Ground = tcSand;
    const QByteArray saved = GridBytes();
    const QString path = PathOf("read only.KVX");
    WriteAll(path, saved);
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    ClearMap();

    prompts.AnswerFileDialog(path);
    Load();

    EXPECT_EQ(GridBytes(), saved);
    EXPECT_EQ(MapName, path);
}

// A file named from outside (the command line, a drop, the recent maps) loads as Load loads
// the file its dialog chose: the question first, one step, the notice of a long file.
TEST_F(MapCommands, ANamedFileLoadsAsTheDialogsChoiceWould)
{
    Cell(4, 4).Ground = tcSand;
    const QByteArray saved = GridBytes();
    const QString path = PathOf("named.KVX");
    WriteAll(path, saved + QByteArray(3, '\x07'));
    EditSomeCells();
    const QByteArray edited = GridBytes();

    prompts.AnswerYesNo(false);
    LoadNamedMapCommand(path, [this] { ++redraws; });
    EXPECT_EQ(GridBytes(), edited);
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(redraws, 0);

    prompts.AnswerYesNo(true);
    LoadNamedMapCommand(path, [this] { ++redraws; });
    EXPECT_EQ(prompts.Questions,
              QStringList(2, "Are you sure you want to load a map and discard this one?"));
    EXPECT_TRUE(prompts.DialogTitles.isEmpty());
    EXPECT_EQ(GridBytes(), saved);
    EXPECT_EQ(MapName, path);
    EXPECT_EQ(captions, QStringList{"Korvane Gridcrafter : " + path});
    EXPECT_EQ(redraws, 1);
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(UndoStepName(), "Load");
    EXPECT_EQ(prompts.Informations, QStringList{LongMapFileNotice(path, MapFileRecordSize + 3)});
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
}

TEST_F(MapCommands, TheMapFileSinkHearsOfEveryLoadAndSaveThatSucceeded)
{
    QStringList told;
    SetMapFileSink([&told](const QString& path) { told << path; });
    const QString saved = PathOf("saved.KVX");
    const QString named = PathOf("named.KVX");
    WriteAll(named, GridBytes());

    prompts.AnswerFileDialog(std::nullopt);
    SaveMapCommand();
    prompts.AnswerFileDialog(PathOf("no such folder/a.KVX"));
    EXPECT_THROW(SaveMapCommand(), GcError);
    prompts.AnswerFileDialog(saved);
    SaveMapCommand();
    prompts.AnswerFileDialog(saved);
    Load();
    EXPECT_THROW(LoadNamedMapCommand(PathOf("missing.KVX"), [] {}), GcError);
    LoadNamedMapCommand(named, [] {});
    MapModified = true;
    prompts.AnswerYesNo(false);
    LoadNamedMapCommand(saved, [] {});
    SetMapFileSink(nullptr);

    EXPECT_EQ(told, (QStringList{saved, saved, named}));
}

// Ctrl+S: a map that has a file goes back into it without the dialog, the question before
// replacing and the box; the notice is the command's answer, for the hint panel. The map
// then counts as saved as after Save: undo's saved state and the map file sink follow.
TEST_F(MapCommands, QuickSaveWritesAMapBackIntoItsOwnFileWithoutDialogOrBox)
{
    QStringList told;
    SetMapFileSink([&told](const QString& path) { told << path; });
    const QString path = PathOf("desert.KVX");
    WriteAll(path, "an older map");
    MapName = path;
    EditSomeCells();
    const MapCell before = Cell(2, 2);
    Cell(2, 2).Overlays.Fire = 1;
    ASSERT_TRUE(RecordCellChange(2, 2, 'F', before));

    EXPECT_EQ(QuickSaveMapCommand(), "Map saved as " + path);
    SetMapFileSink(nullptr);

    EXPECT_EQ(ReadAll(path), GridBytes());
    EXPECT_TRUE(prompts.DialogTitles.isEmpty());
    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_TRUE(prompts.Informations.isEmpty());
    EXPECT_EQ(MapName, path);
    EXPECT_FALSE(MapModified);
    EXPECT_EQ(told, QStringList{path});
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
    ASSERT_TRUE(UndoMapChange());
    EXPECT_TRUE(MapModified);
    ASSERT_TRUE(RedoMapChange());
    EXPECT_FALSE(MapModified) << "the quick save is the saved state";
}

TEST_F(MapCommands, QuickSaveOfAMapWithoutAFileIsSave)
{
    const QString path = PathOf("random.KVX");
    for (const char* name : {"NewMap", "Random"}) {
        MapName = name;
        EditSomeCells();
        prompts.AnswerFileDialog(path);
        EXPECT_EQ(QuickSaveMapCommand(), "") << name;
        EXPECT_EQ(prompts.DialogFileNames.takeLast(), name);
        EXPECT_EQ(prompts.Informations.takeLast(), "Map saved as " + path);
        EXPECT_EQ(ReadAll(path), GridBytes());
        EXPECT_FALSE(MapModified);
    }
    // Cancelled, as Save's dialog.
    MapName = "NewMap";
    EditSomeCells();
    prompts.AnswerFileDialog(std::nullopt);
    EXPECT_EQ(QuickSaveMapCommand(), "");
    EXPECT_TRUE(MapModified);
}

TEST_F(MapCommands, AFailedQuickSaveNamesTheFileAndKeepsNameAndModifiedFlag)
{
    QStringList told;
    SetMapFileSink([&told](const QString& path) { told << path; });
    const QString gone = PathOf("gone/kept.KVX");
    MapName = gone;
    EditSomeCells();
    try {
        QuickSaveMapCommand();
        ADD_FAILURE() << "the save reported no failure";
    } catch (const GcError& error) {
        EXPECT_TRUE(error.Text().startsWith("Cannot create file " + gone + ": "))
            << error.Text().toStdString();
    }
    SetMapFileSink(nullptr);
    EXPECT_EQ(MapName, gone);
    EXPECT_TRUE(MapModified);
    EXPECT_TRUE(captions.isEmpty());
    EXPECT_TRUE(told.isEmpty());
}

// What New, Clear and Random map leave after the user kept an edited, named map.
class CreationCommands : public MapCommands {
protected:
    void SetUp() override
    {
        MapCommands::SetUp();
        savedGroundCount = GroundSpriteCount;
        GroundSpriteCount = 16;
        Randomize(99);
    }
    void TearDown() override
    {
        GroundSpriteCount = savedGroundCount;
        MapCommands::TearDown();
    }

    void EditAndName()
    {
        EditSomeCells();
        MapName = PathOf("kept.KVX");
        edited = GridBytes();
    }

    void ExpectUntouched()
    {
        EXPECT_EQ(GridBytes(), edited);
        EXPECT_EQ(MapName, PathOf("kept.KVX"));
        EXPECT_TRUE(MapModified);
        EXPECT_TRUE(captions.isEmpty());
        EXPECT_EQ(redraws, 0);
        EXPECT_TRUE(cursor.isEmpty());
    }

    static bool IsClean()
    {
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y)
                if (DescribeHex(x, y) != QStringLiteral("(%1,%2): Grass, Height 0").arg(x).arg(y))
                    return false;
        return true;
    }

    void Redraw() { ++redraws; }

    QByteArray edited;
    std::int32_t savedGroundCount = 0;
};

TEST_F(CreationCommands, NewAsksWithUnsavedEditsAndNoKeepsEverything)
{
    EditAndName();
    prompts.AnswerYesNo(false);

    NewMapCommand([this] { Redraw(); });

    EXPECT_EQ(prompts.Questions,
              QStringList{"Are you sure you want to clear the map and start over?"});
    ExpectUntouched();
}

TEST_F(CreationCommands, NewClearsAndDrawsTheMap)
{
    EditAndName();
    prompts.AnswerYesNo(true);

    NewMapCommand([this] { Redraw(); });

    EXPECT_TRUE(IsClean());
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_EQ(captions, QStringList{"Korvane Gridcrafter : NewMap"});
    EXPECT_TRUE(MapModified) << "a step away from the saved state";
    EXPECT_EQ(UndoStepName(), "New");
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
}

TEST_F(CreationCommands, NewAndRandomMapActAtOnceWithoutUnsavedEdits)
{
    MapName = PathOf("saved.KVX");
    NewMapCommand([this] { Redraw(); });
    // New is a step of its own: the clean map counts as unsaved until it is saved.
    MarkMapSaved();
    RandomMapCommand([this] { Redraw(); });

    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_EQ(MapName, "Random");
    EXPECT_EQ(redraws, 2);
}

TEST_F(CreationCommands, ClearAsksNothingEvenWithUnsavedEdits)
{
    EditAndName();

    ClearMapCommand([this] { Redraw(); });

    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_TRUE(IsClean());
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(UndoStepName(), "Clear");
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(cursor.isEmpty());
}

TEST_F(CreationCommands, RandomMapAsksWithUnsavedEditsAndNoKeepsEverything)
{
    EditAndName();
    prompts.AnswerYesNo(false);

    RandomMapCommand([this] { Redraw(); });

    EXPECT_EQ(prompts.Questions,
              QStringList{"Are you sure you abandon this map and create a random one?"});
    ExpectUntouched();
}

TEST_F(CreationCommands, RandomMapMakesARandomMapAndDrawsIt)
{
    EditAndName();
    prompts.AnswerYesNo(true);

    RandomMapCommand([this] { Redraw(); });

    std::set<int> heights;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const MapCell& cell = Cell(x, y);
            heights.insert(cell.Height);
            EXPECT_LT(cell.Ground, 16);
            EXPECT_EQ(cell.Mines, 0);
            EXPECT_EQ(std::memcmp(&cell.Overlays, "\0\0\0\0\0", 5), 0);
        }
    EXPECT_EQ(heights, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(MapName, "Random");
    EXPECT_EQ(captions, QStringList{"Korvane Gridcrafter : Random"});
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(UndoStepName(), "Random map");
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
}

}  // namespace
