// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// Choosing the selection, and what the hint panel says of it.

#include "editor/SelectionCommands.h"

#include "graphics/HexGeometry.h"
#include "tests/editor/FreshScope.h"

#include <gtest/gtest.h>

namespace {

class Selection : public FreshScope {
protected:
    void SetUp() override
    {
        FreshScope::SetUp();
        TheEditScope().SetSelectionSink([this] { ++told; });
    }
    int told = 0;
};

TEST_F(Selection, ARectangleSelectsTheHexesWhoseCentresItHolds)
{
    // From the centre of (3, 3) to that of (5, 4): column 4 sits half a row lower, so only
    // the centre of (4, 3) lies between.
    const PixelPoint from = HexCentre(3, 3);
    const PixelPoint to = HexCentre(5, 4);
    SelectRectangle(to, from, HexSet());
    EXPECT_EQ(TheEditScope().Selection(), Hexes({{3, 3}, {3, 4}, {4, 3}, {5, 3}, {5, 4}}));
    EXPECT_EQ(SelectionHint(), "5 hexes selected");
    EXPECT_EQ(told, 1);

    // One pixel short of a centre leaves its hex out.
    SelectRectangle(from, {to.px - 1, to.py}, HexSet());
    EXPECT_EQ(TheEditScope().Selection(), Hexes({{3, 3}, {3, 4}, {4, 3}}));

    // Added to what was there; a rectangle between centres adds nothing.
    SelectRectangle({0, 0}, {10, 10}, TheEditScope().Selection());
    EXPECT_EQ(TheEditScope().Selection().Count(), 3);
    SelectRectangle(HexCentre(20, 20), HexCentre(20, 20), TheEditScope().Selection());
    EXPECT_EQ(SelectionHint(), "4 hexes selected");
}

TEST_F(Selection, SelectAllAndClearTellTheSinkOnlyWhenTheSelectionChanges)
{
    ClearSelection();
    EXPECT_EQ(told, 0);
    EXPECT_EQ(SelectionHint(), "No hexes selected");
    SelectAllCommand();
    EXPECT_EQ(SelectionHint(), "1024 hexes selected");
    SelectAllCommand();
    EXPECT_EQ(told, 1);
    TheEditScope().Select(Hexes({{32, 32}}));
    EXPECT_EQ(SelectionHint(), "1 hex selected");
    ClearSelection();
    EXPECT_EQ(told, 3);
    EXPECT_TRUE(TheEditScope().Selection().Empty());
}

}  // namespace
