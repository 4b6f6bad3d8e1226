// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Keys, menu entries and strokes that reach the selection and the point mirror, each one step.

#include "editor/ScopedEditing.h"

#include "core/Catalogue.h"
#include "core/KeyTable.h"
#include "core/MapHistory.h"
#include "core/MapSymmetry.h"
#include "editor/HistoryCommands.h"
#include "editor/KeyboardEditing.h"
#include "tests/editor/FreshScope.h"

#include <gtest/gtest.h>

namespace {

class ScopedEditing : public FreshScope {
protected:
    void Drag(std::initializer_list<HexAddress> hexes)
    {
        BeginStroke(hexes.begin()->x, hexes.begin()->y, view);
        for (const HexAddress& hex : hexes)
            StrokeEnters(hex.x, hex.y, view);
        EndStroke();
    }
};

TEST_F(ScopedEditing, WithoutSymmetryAKeyIsThePlainKeyPress)
{
    for (const char key : {'F', '.', '>', '6', 'Q'}) {
        const MapGridType start = MapGrid;
        const int x = CursorX;
        ScopedKeyPress(key, view);
        const QStringList scoped = view.Calls;
        const QByteArray grid = GridBytes();
        const QString step = UndoStepName();

        MapGrid = start;
        CursorX = x;
        view.Calls.clear();
        EditorKeyPress(key, view);
        EXPECT_EQ(scoped, view.Calls) << key;
        EXPECT_EQ(grid, GridBytes()) << key;
        EXPECT_EQ(step, UndoStepName()) << key;
        view.Calls.clear();
    }
}

TEST_F(ScopedEditing, WithSymmetryAMapKeyChangesTheCursorCellAndItsMirrorInOneStep)
{
    TheEditScope().SetPointSymmetry(true);
    const struct {
        char key;
        void (*prepare)();
        bool (*expected)();
    } rows[] = {
        // A toggle gives the mirror what the cursor cell got, also when it had it already.
        {'F', [] { Cell(30, 29).Overlays.Fire = 1; },
         [] { return HasFire(3, 4) && HasFire(30, 29); }},
        {'F', [] { Cell(3, 4).Overlays.Fire = 1; },
         [] { return !HasFire(3, 4) && !HasFire(30, 29); }},
        // Other keys act on each cell's own value.
        {'>',
         [] {
             Cell(3, 4).Height = 2;
             Cell(30, 29).Height = 5;
         },
         [] { return Cell(3, 4).Height == 3 && Cell(30, 29).Height == 6; }},
        {'W', [] { Cell(30, 29).Ground = tcWater1; },
         [] { return Cell(3, 4).Ground == tcWater0 && Cell(30, 29).Ground == tcWater2; }},
        {'N', [] {}, [] { return Cell(3, 4).Mines == 10 && Cell(30, 29).Mines == 10; }},
    };
    for (const auto& row : rows) {
        ClearMap();
        ResetMapHistory();
        CursorX = 3;
        CursorY = 4;
        row.prepare();
        const QByteArray before = GridBytes();

        ScopedKeyPress(row.key, view);

        EXPECT_TRUE(row.expected()) << row.key;
        EXPECT_EQ(UndoStepName(), KeyStepName(row.key));
        EXPECT_EQ(LastMapKey, row.key);
        UndoAndShow(view);
        EXPECT_EQ(GridBytes(), before) << row.key;
        EXPECT_FALSE(CanUndoMapChange()) << "one step: " << row.key;
    }
}

TEST_F(ScopedEditing, WithSymmetryARoadJoinsAroundBothHexesAndCursorKeysStayPlain)
{
    TheEditScope().SetPointSymmetry(true);
    CursorX = 5;
    CursorY = 5;
    ScopedKeyPress('.', view);
    EXPECT_TRUE(HasRoad(5, 5));
    EXPECT_TRUE(HasRoad(28, 28));
    for (const char* cell : {"DrawCell 5,4", "DrawCell 28,29", "DrawCursor 5,5", "ShowHexInfo 5,5"})
        EXPECT_TRUE(view.Calls.contains(cell)) << cell;

    view.Calls.clear();
    const QByteArray before = GridBytes();
    ScopedKeyPress('6', view);
    EXPECT_EQ(CursorX, 6);
    EXPECT_EQ(GridBytes(), before);
    EXPECT_EQ(view.Calls,
              (QStringList{"DrawCell 5,5 repaint", "DrawCursor 6,5", "ShowHexInfo 6,5"}));
}

TEST_F(ScopedEditing, AMenuEntryOnASelectedHexGoesToEverySelectedHex)
{
    const HexSet selection = Hexes({{2, 2}, {3, 3}, {10, 10}});
    TheEditScope().Select(selection);
    Cell(3, 3).Overlays.Fire = 1;
    const MapGridType before = MapGrid;

    ScopedApplyKeyToHex('F', 2, 2, view);

    EXPECT_TRUE(HasFire(2, 2));
    EXPECT_TRUE(HasFire(3, 3)) << "the toggle follows what the chosen hex got";
    EXPECT_TRUE(HasFire(10, 10));
    EXPECT_TRUE(OnlyChanged(before, selection));
    EXPECT_EQ(CursorX, 2);
    EXPECT_EQ(CursorY, 2);
    EXPECT_EQ(LastMapKey, 'F');
    EXPECT_EQ(UndoStepName(), "Fire");

    CursorX = 20;
    UndoAndShow(view);
    EXPECT_EQ(GridBytes(), QByteArray(reinterpret_cast<const char*>(&before), sizeof before));
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_EQ(CursorX, 2) << "undo puts the cursor back where the step was made";
    EXPECT_EQ(view.Calls.last(), "ShowHexInfo 2,2");
}

TEST_F(ScopedEditing, AMenuEntryOffTheSelectionGoesToItsHexAloneAsBefore)
{
    TheEditScope().Select(Hexes({{2, 2}}));
    const MapGridType before = MapGrid;
    ScopedApplyKeyToHex('L', 5, 5, view);
    EXPECT_EQ(Cell(5, 5).Ground, tcLightWoods);
    EXPECT_TRUE(OnlyChanged(before, Hexes({{5, 5}})));
    EXPECT_EQ(view.Calls.first(), "DrawCell 1,1 repaint");
    EXPECT_EQ(UndoStepName(), "Light Woods");
}

TEST_F(ScopedEditing, WithSymmetryAMenuEntryReachesTheMirrorsOfTheSelectedHexesToo)
{
    TheEditScope().SetPointSymmetry(true);
    TheEditScope().Select(Hexes({{2, 2}, {3, 3}}));
    const MapGridType before = MapGrid;
    ScopedApplyKeyToHex('A', 3, 3, view);
    const HexSet reached = Hexes({{2, 2}, {3, 3}, {31, 31}, {30, 30}});
    reached.ForEach([](HexAddress hex) { EXPECT_EQ(Cell(hex.x, hex.y).Ground, tcLava); });
    EXPECT_TRUE(OnlyChanged(before, reached));

    ClearMap();
    TheEditScope().Select(HexSet());
    ScopedApplyKeyToHex('A', 7, 1, view);
    EXPECT_EQ(Cell(7, 1).Ground, tcLava);
    EXPECT_EQ(Cell(26, 32).Ground, tcLava);
}

TEST_F(ScopedEditing, WithSymmetryAStrokePaintsEachHexAndItsMirrorOnceInOneStep)
{
    TheEditScope().SetPointSymmetry(true);
    LastMapKey = '>';
    const QByteArray before = GridBytes();
    // (17, 17), south-east of (16, 16), is its mirror, and (18, 17) that of (15, 16): the
    // stroke enters them after it raised them as mirrors, and raises them no further.
    Drag({{15, 16}, {16, 16}, {17, 17}, {18, 17}});
    int sum = 0;
    for (const MapColumn& column : MapGrid)
        for (const MapCell& cell : column)
            sum += cell.Height;
    EXPECT_EQ(sum, 4);
    for (const HexAddress hex : {HexAddress{15, 16}, {16, 16}, {17, 17}, {18, 17}})
        EXPECT_EQ(Cell(hex.x, hex.y).Height, 1) << hex.x << "," << hex.y;
    EXPECT_EQ(UndoStepName(), "Raise");
    UndoAndShow(view);
    EXPECT_EQ(GridBytes(), before);
    EXPECT_FALSE(CanUndoMapChange());
}

TEST_F(ScopedEditing, WithSymmetryAToggleStrokeGivesTheMirrorsWhatItsFirstHexGot)
{
    TheEditScope().SetPointSymmetry(true);
    LastMapKey = 'F';
    Cell(31, 32).Overlays.Fire = 1;
    Drag({{2, 1}, {3, 1}, {4, 1}});
    for (const HexAddress hex : {HexAddress{2, 1}, {3, 1}, {4, 1}, {31, 32}, {30, 32}, {29, 32}})
        EXPECT_TRUE(HasFire(hex.x, hex.y)) << hex.x << "," << hex.y;
    EXPECT_EQ(UndoStepName(), "Fire");
    UndoAndShow(view);
    EXPECT_TRUE(HasFire(31, 32)) << "it had the fire before the stroke";
    EXPECT_FALSE(HasFire(2, 1));
    EXPECT_FALSE(HasFire(30, 32));
    EXPECT_FALSE(CanUndoMapChange());
}

}  // namespace
