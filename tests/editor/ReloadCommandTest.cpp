// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Reload and Reload tiles: the settings and sheets read again, a clean map with the mechs.

#include "editor/ReloadCommand.h"

#include "core/Catalogue.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/HistoryCommands.h"
#include "graphics/MapView.h"
#include "graphics/SpriteLibrary.h"
#include "platform/BusyCursor.h"
#include "platform/Errors.h"
#include "settings/Settings.h"
#include "tests/editor/RecordingView.h"
#include "tests/graphics/SyntheticSprites.h"
#include "tests/support/GameFolder.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>

namespace {

using namespace synthetic;

constexpr QRgb Black = 0xff000000;

QByteArray GridBytes() { return {reinterpret_cast<const char*>(&MapGrid), sizeof MapGrid}; }

// A game folder with settings and sheets, and the editor's state before a reload.
class Reload : public ::testing::Test {
protected:
    GameFolder game;
    ScriptedPrompts prompts;
    QStringList cursor;
    int repaints = 0;

    void SetUp() override
    {
        ShowcaseSheets(6).WriteTo(game.SpritesDir());
        game.WriteSettings(Settings(6));
        SetCaptionSink(nullptr);
        ClearMap();
        ResetMapHistory();
        ClearMapImage();
        SetMapViewRepaint([this] { ++repaints; });
        SetBusyCursorHooks([this] { cursor << "busy"; }, [this] { cursor << "default"; });
    }
    void TearDown() override
    {
        SetBusyCursorHooks(nullptr, nullptr);
        SetMapViewRepaint(nullptr);
        FreeSpriteLibrary();
    }

    static void StartUp()
    {
        LoadSettings();
        LoadSpriteLibrary();
    }

    static void EditMap()
    {
        Cell(8, 8).Ground = tcLava;
        Cell(8, 8).Overlays.Fire = 1;
        MapName = "/maps/edited.KVX";
        MapModified = true;
    }
};

TEST_F(Reload, DiscardsUnsavedEditsAndShowsACleanMapWithTheMechs)
{
    StartUp();
    EditMap();
    game.WriteSettings(Settings(3));
    cursor.clear();

    ReloadSprites();

    EXPECT_TRUE(prompts.Questions.isEmpty());
    EXPECT_EQ(MapName, "NewMap");
    EXPECT_TRUE(MapModified) << "the clean map is a step of its own";
    EXPECT_EQ(UndoStepName(), "Reload");
    EXPECT_EQ(Cell(8, 8).Ground, tcGrass);
    EXPECT_EQ(Cell(8, 8).Overlays.Fire, 0);
    EXPECT_EQ(MechSpriteCount, 3);
    EXPECT_EQ(MechSets[1].Count(), 3);
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(HexMiddle(n + 1, 1), MechColour(n, 1));
    EXPECT_EQ(HexMiddle(4, 1), GroundColour(0));
    EXPECT_EQ(HexMiddle(8, 8), GroundColour(0));
    EXPECT_EQ(HexMiddle(32, 32), GroundColour(0));
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));

    RecordingView view(800, 600);
    UndoAndShow(view);
    EXPECT_EQ(Cell(8, 8).Ground, tcLava);
    EXPECT_EQ(Cell(8, 8).Overlays.Fire, 1);
    EXPECT_EQ(MapName, "/maps/edited.KVX");
    EXPECT_EQ(
        view.Calls,
        QStringList({"RedrawWholeMap", QStringLiteral("DrawCursor %1,%2").arg(CursorX).arg(CursorY),
                     QStringLiteral("ShowHexInfo %1,%2").arg(CursorX).arg(CursorY)}));
}

TEST_F(Reload, AMissingSheetEndsItBeforeTheMapIsCleared)
{
    StartUp();
    EditMap();
    ASSERT_TRUE(QFile::remove(game.SpritesDir() + "/GROUND.BMP"));
    const QByteArray grid = GridBytes();
    cursor.clear();
    repaints = 0;

    EXPECT_THROW(ReloadSprites(), GcError);

    EXPECT_EQ(GridBytes(), grid);
    EXPECT_EQ(MapName, "/maps/edited.KVX");
    EXPECT_TRUE(MapModified);
    EXPECT_EQ(HexMiddle(10, 10), Black);
    EXPECT_EQ(repaints, 0);
    EXPECT_EQ(cursor, (QStringList{"busy", "default"}));
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_TRUE(SpriteLibraryReady()) << "the sets go on drawing";
}

TEST_F(Reload, RecoversAfterAFailedStartUp)
{
    ASSERT_TRUE(QFile::rename(game.SpritesDir() + "/MECHS.BMP", game.SpritesDir() + "/away.BMP"));
    EXPECT_THROW(StartUp(), GcError);
    ASSERT_FALSE(SpriteLibraryReady());
    ASSERT_TRUE(QFile::rename(game.SpritesDir() + "/away.BMP", game.SpritesDir() + "/MECHS.BMP"));

    ReloadSprites();

    EXPECT_TRUE(SpriteLibraryReady());
    EXPECT_EQ(HexMiddle(1, 1), MechColour(0, 1));
    EXPECT_EQ(HexMiddle(20, 20), GroundColour(0));
}

TEST_F(Reload, RecoversWhenTheSetsWereNeverMade)
{
    FreeSpriteLibrary();

    ReloadSprites();

    EXPECT_TRUE(SpriteLibraryReady());
    EXPECT_EQ(HexMiddle(6, 6), MechColour(5, 1));
    EXPECT_EQ(HexMiddle(7, 7), GroundColour(0));
}

}  // namespace
