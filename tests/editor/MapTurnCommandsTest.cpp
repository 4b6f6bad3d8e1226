// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The whole-map commands as steps of the history, and how changed cells are shown.

#include "editor/MapTurnCommands.h"

#include "core/Catalogue.h"
#include "core/MapHistory.h"
#include "core/MapSymmetry.h"
#include "editor/ChangedCells.h"
#include "editor/HistoryCommands.h"
#include "tests/core/RandomGrid.h"
#include "tests/editor/FreshScope.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class MapTurnCommands : public FreshScope {};

TEST_F(MapTurnCommands, EachIsOneStepThatUndoAndRedoReplayExactly)
{
    const struct {
        void (*command)(EditorView&);
        const char* step;
    } rows[] = {{TurnMapCommand, "Turn Map"},
                {MakeSymmetricCommand, "Make Symmetric"},
                {RaiseAllHeightsCommand, "Raise All Heights"},
                {LowerAllHeightsCommand, "Lower All Heights"}};
    std::mt19937 random(71);
    for (const auto& row : rows) {
        FillRandomGrid(random, true);
        ResetMapHistory();
        const QByteArray before = GridBytes();
        CursorX = 4;
        CursorY = 9;
        view.Calls.clear();

        row.command(view);

        const QByteArray after = GridBytes();
        ASSERT_NE(after, before) << row.step;
        EXPECT_EQ(UndoStepName(), row.step);
        EXPECT_TRUE(MapModified);
        EXPECT_EQ(view.Calls, (QStringList{"RedrawWholeMap", "DrawCursor 4,9", "ShowHexInfo 4,9"}))
            << "drawn at once";
        UndoAndShow(view);
        EXPECT_EQ(GridBytes(), before) << row.step;
        EXPECT_FALSE(MapModified);
        RedoAndShow(view);
        EXPECT_EQ(GridBytes(), after) << row.step;
    }
}

TEST_F(MapTurnCommands, AChangeOfNothingMakesNoStep)
{
    LowerAllHeightsCommand(view);
    EXPECT_FALSE(CanUndoMapChange());
    MakeSymmetricCommand(view);
    TurnMapCommand(view);
    EXPECT_FALSE(CanUndoMapChange()) << "a clean map is symmetric";
}

TEST_F(MapTurnCommands, FewChangedCellsAreDrawnWithTheirNeighboursEachOnce)
{
    view.Editing = false;
    CursorX = 2;
    CursorY = 2;
    ShowChangedCells(Hexes({{1, 1}, {1, 2}}), view);
    EXPECT_EQ(view.Calls,
              (QStringList{"DrawCell 1,1", "DrawCell 1,2", "DrawCell 1,3", "DrawCell 2,1",
                           "DrawCell 2,2", "RepaintMap", "ShowHexInfo 2,2"}));
}

}  // namespace
