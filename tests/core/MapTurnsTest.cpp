// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The whole-map turns against a model that builds each cell of the result by hand.

#include "core/MapTurns.h"

#include "core/MapSymmetry.h"
#include "tests/core/FreshMap.h"
#include "tests/core/RandomGrid.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

class MapTurns : public FreshMap {
protected:
    // The cell at place with the content of from: X and Y its own, Reserved and padding of
    // the place.
    static MapCell Moved(const MapCell& place, const MapCell& from, HexAddress at)
    {
        MapCell cell = place;
        cell.X = static_cast<std::uint8_t>(at.x);
        cell.Y = static_cast<std::uint8_t>(at.y);
        cell.Height = from.Height;
        cell.Ground = from.Ground;
        cell.Mines = from.Mines;
        cell.Overlays = from.Overlays;
        return cell;
    }

    static QByteArray Bytes(const MapGridType& grid)
    {
        return {reinterpret_cast<const char*>(&grid), sizeof grid};
    }

    std::mt19937 random{41};
};

TEST_F(MapTurns, TurnPutsEveryHexsContentOnItsMirror)
{
    for (int trial = 0; trial < 10; ++trial) {
        FillRandomGrid(random, trial % 2 == 0);
        const MapGridType before = MapGrid;
        MapGridType expected{};
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y)
                expected[static_cast<std::size_t>(x - 1)][static_cast<std::size_t>(y - 1)] =
                    Moved(CellOf(before, {x, y}), CellOf(before, {33 - x, 33 - y}), {x, y});

        TurnMapHalfway();
        ASSERT_EQ(GridBytes(), Bytes(expected)) << "trial " << trial;
    }
}

TEST_F(MapTurns, TurningTwiceGivesTheMapBack)
{
    FillRandomGrid(random, false);
    const QByteArray before = GridBytes();
    TurnMapHalfway();
    ASSERT_NE(GridBytes(), before);
    TurnMapHalfway();
    EXPECT_EQ(GridBytes(), before);
}

TEST_F(MapTurns, MakeSymmetricKeepsTheWestHalfAndTurnsItOntoTheEast)
{
    for (int trial = 0; trial < 10; ++trial) {
        FillRandomGrid(random, trial % 2 == 0);
        const MapGridType before = MapGrid;

        MakeMapSymmetric();

        EXPECT_TRUE(AsymmetricHexes().Empty());
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                const MapCell expected = x <= 16 ? CellOf(before, {x, y})
                                                 : Moved(CellOf(before, {x, y}),
                                                         CellOf(before, {33 - x, 33 - y}), {x, y});
                ASSERT_EQ(std::memcmp(&Cell(x, y), &expected, sizeof expected), 0) << x << "," << y;
            }
    }
}

TEST_F(MapTurns, HeightsStepByOneWithinZeroToSixKeepingEverythingElse)
{
    const struct {
        std::int32_t height;
        int step;
        std::int32_t result;
    } rows[] = {{0, +1, 1}, {5, +1, 6}, {6, +1, 6}, {-3, +1, -2}, {100, +1, 100},
                {6, -1, 5}, {1, -1, 0}, {0, -1, 0}, {-3, -1, -3}, {100, -1, 99}};
    for (const auto& row : rows) {
        Cell(7, 8).Height = row.height;
        Cell(7, 8).Mines = 10;
        Cell(7, 8).Overlays = {1, 0, 1, 0, 1};
        Cell(7, 8).Reserved = 3;
        MapCell expected = Cell(7, 8);
        expected.Height = row.result;

        StepAllHeights(row.step);

        EXPECT_EQ(std::memcmp(&Cell(7, 8), &expected, sizeof expected), 0)
            << row.height << " stepped by " << row.step;
        EXPECT_EQ(Cell(1, 1).Height, row.step > 0 ? 1 : 0);
        ClearMap();
    }
}

}  // namespace
