// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Edit, Flood Fill: the last map key poured from the cursor hex, within the selection and at
// the mirrors, one step.

#include "editor/FloodFillCommand.h"

#include "core/Catalogue.h"
#include "core/MapHistory.h"
#include "core/MapSymmetry.h"
#include "editor/HistoryCommands.h"
#include "tests/editor/FreshScope.h"

#include <gtest/gtest.h>

namespace {

class FloodFill : public FreshScope {
protected:
    // A lake of water level 1: column 5, rows 3 to 6, and (6, 4).
    static HexSet MakeLake()
    {
        const HexSet lake = Hexes({{5, 3}, {5, 4}, {5, 5}, {5, 6}, {6, 4}});
        lake.ForEach([](HexAddress hex) { Cell(hex.x, hex.y).Ground = tcWater1; });
        return lake;
    }
};

TEST_F(FloodFill, BeforeAnyMapKeyDoesNothingAndSaysWhy)
{
    const QByteArray before = GridBytes();
    const QString hint = FloodFillCommand(view);
    EXPECT_TRUE(hint.contains("map key")) << hint.toStdString();
    EXPECT_EQ(GridBytes(), before);
    EXPECT_FALSE(CanUndoMapChange());
    EXPECT_TRUE(view.Calls.isEmpty());
}

TEST_F(FloodFill, PoursTheKeyOverTheHexesJoinedToTheCursorHexInOneStep)
{
    const HexSet lake = MakeLake();
    Cell(5, 5).Height = 1;  // the same water, but higher: not joined
    const MapGridType before = MapGrid;
    CursorX = 5;
    CursorY = 3;
    LastMapKey = 'I';

    EXPECT_EQ(FloodFillCommand(view), "Flood Fill of Ice: 3 hexes");

    for (const HexAddress hex : {HexAddress{5, 3}, {5, 4}, {6, 4}})
        EXPECT_EQ(Cell(hex.x, hex.y).Ground, tcIce);
    EXPECT_EQ(Cell(5, 5).Ground, tcWater1);
    EXPECT_EQ(Cell(5, 6).Ground, tcWater1) << "joined only through (5, 5)";
    EXPECT_TRUE(OnlyChanged(before, lake));
    EXPECT_EQ(UndoStepName(), "Flood Fill");
    EXPECT_TRUE(view.Calls.contains("DrawCell 6,4"));
    EXPECT_EQ(view.Calls.mid(view.Calls.size() - 3),
              (QStringList{"RepaintMap", "DrawCursor 5,3", "ShowHexInfo 5,3"}));

    UndoAndShow(view);
    EXPECT_EQ(GridBytes(), QByteArray(reinterpret_cast<const char*>(&before), sizeof before));
}

TEST_F(FloodFill, AFillOfTheWholeMapRedrawsItAtOnce)
{
    LastMapKey = 'H';
    EXPECT_EQ(FloodFillCommand(view), "Flood Fill of Heavy Woods: 1024 hexes");
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            ASSERT_EQ(Cell(x, y).Ground, tcHeavyWoods);
    EXPECT_EQ(view.Calls, (QStringList{"RedrawWholeMap", "DrawCursor 1,1", "ShowHexInfo 1,1"}));
}

TEST_F(FloodFill, AToggleSpreadsOverTheHexesWhoseFlagIsAsTheCursorHexs)
{
    // A ring of road around (10, 10) keeps the fill inside it.
    for (int d = 1; d <= HexDirections; ++d) {
        const HexStep next = HexNeighbour(10, 10, d);
        Cell(next.nx, next.ny).Overlays.Road = 1;
        Cell(next.nx, next.ny).Ground = tcMud;
    }
    CursorX = 10;
    CursorY = 10;
    LastMapKey = '.';
    EXPECT_EQ(FloodFillCommand(view), "Flood Fill of Road: 1 hex");
    EXPECT_TRUE(HasRoad(10, 10));
    EXPECT_TRUE(view.Calls.contains("DrawCell 10,9")) << "the neighbours' joins follow";

    // From a road hex it spreads over the ring, whatever the ground: all lose their road.
    CursorY = 9;
    EXPECT_EQ(FloodFillCommand(view), "Flood Fill of Road: 7 hexes");
    EXPECT_FALSE(HasRoad(10, 10));
    EXPECT_FALSE(HasRoad(10, 11));
}

TEST_F(FloodFill, StaysInsideTheSelectionAndNeedsTheCursorThere)
{
    const HexSet selection = Hexes({{1, 1}, {1, 2}, {2, 2}, {9, 9}});
    TheEditScope().Select(selection);
    LastMapKey = 'S';
    CursorX = 5;
    const QByteArray before = GridBytes();
    EXPECT_TRUE(FloodFillCommand(view).contains("inside the selection"));
    EXPECT_EQ(GridBytes(), before);

    CursorX = 1;
    const MapGridType start = MapGrid;
    EXPECT_EQ(FloodFillCommand(view), "Flood Fill of Sand: 3 hexes");
    EXPECT_TRUE(OnlyChanged(start, Hexes({{1, 1}, {1, 2}, {2, 2}})));
    EXPECT_EQ(Cell(2, 2).Ground, tcSand);
}

TEST_F(FloodFill, WithSymmetryFillsTheMirrorsOfTheRegionToo)
{
    const HexSet lake = MakeLake();
    TheEditScope().SetPointSymmetry(true);
    const MapGridType before = MapGrid;
    CursorX = 5;
    CursorY = 6;
    LastMapKey = 'I';
    EXPECT_EQ(FloodFillCommand(view), "Flood Fill of Ice: 10 hexes");
    const HexSet reached = WithMirrors(lake, true);
    reached.ForEach([](HexAddress hex) { EXPECT_EQ(Cell(hex.x, hex.y).Ground, tcIce); });
    EXPECT_TRUE(OnlyChanged(before, reached));
    UndoAndShow(view);
    EXPECT_FALSE(CanUndoMapChange());
}

}  // namespace
