// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The grid transforms against plain models: moves against shifting the picture of the hexes,
// fill reach against growing a region until it stops, a key across hexes against setting
// each cell by hand.

#include "core/HexTransforms.h"

#include "core/KeyTable.h"
#include "tests/core/FreshMap.h"
#include "tests/core/HexPictureModel.h"
#include "tests/core/RandomGrid.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <vector>

namespace {

TEST(HexCube, TurnsEveryAddressIntoCubeCoordinatesAndBack)
{
    for (int x = -3; x <= MapSize + 3; ++x)
        for (int y = -3; y <= MapSize + 3; ++y) {
            const HexCube cube = CubeOf({x, y});
            EXPECT_EQ(cube.q + cube.r + cube.s, 0);
            EXPECT_EQ(HexOfCube(cube), (HexAddress{x, y}));
        }
}

TEST(MovedHex, MovesEveryHexAsThePictureOfTheHexesIsShifted)
{
    std::mt19937 random(21);
    for (int trial = 0; trial < 400; ++trial) {
        // Every pair of column parities, from and to.
        const HexAddress from = RandomHexOfParity(random, trial % 2);
        const HexAddress to = RandomHexOfParity(random, trial / 2 % 2);
        RandomHexes(random, 0.05).ForEach([&](HexAddress hex) {
            ASSERT_EQ(MovedHex(hex, from, to), PictureMove(hex, from, to))
                << hex.x << "," << hex.y << " moved from " << from.x << "," << from.y << " to "
                << to.x << "," << to.y;
        });
    }
}

TEST(MovedHex, KeepsNeighboursNeighboursInTheSameDirection)
{
    std::mt19937 random(22);
    for (int trial = 0; trial < 2000; ++trial) {
        const HexAddress hex = RandomHex(random);
        const int d = 1 + trial % HexDirections;
        const HexStep next = HexNeighbour(hex.x, hex.y, d);
        const HexAddress from = RandomHex(random);
        const HexAddress to = RandomHex(random);
        const auto movedHex = MovedHex(hex, from, to);
        const auto movedNext = MovedHex({next.nx, next.ny}, from, to);
        if (!next.ok || !movedHex || !movedNext)
            continue;
        EXPECT_EQ(HexNeighbour(movedHex->x, movedHex->y, d),
                  (HexStep{true, movedNext->x, movedNext->y}));
    }
}

// Shifting column and row alone would put (2, 1), south-east of (1, 1), at (3, 1): north-east
// of (2, 1), not south-east; and (3, 2), north-east of (2, 2), at (4, 2), south-east of (3, 2).
TEST(MovedHex, KeepsTheOutlineWhenMovedByAnOddNumberOfColumns)
{
    EXPECT_EQ(MovedHex({2, 1}, {1, 1}, {2, 1}), (HexAddress{3, 2}));
    EXPECT_EQ(MovedHex({3, 2}, {2, 2}, {3, 2}), (HexAddress{4, 1}));
    EXPECT_EQ(MovedHex({1, 2}, {1, 1}, {2, 1}), (HexAddress{2, 2}));
    EXPECT_EQ(MovedHex({3, 1}, {1, 1}, {2, 32}), (HexAddress{4, 32}));
    EXPECT_EQ(MovedHex({1, 2}, {1, 1}, {2, 32}), std::nullopt);
    EXPECT_EQ(MovedHex({1, 1}, {1, 1}, {32, 32}), (HexAddress{32, 32}));
}

TEST(TopLeftHex, IsTheTopmostOfTheLeftmostColumn)
{
    const struct {
        std::vector<HexAddress> hexes;
        HexAddress lead;
    } rows[] = {
        {{{5, 5}}, {5, 5}},
        {{{7, 3}, {6, 9}, {6, 4}, {8, 1}}, {6, 4}},
        {{{32, 32}, {32, 1}}, {32, 1}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(TopLeftHex(row.hexes), row.lead);
}

// What a fill spreads over, said plainly for each key.
bool ModelJoins(char key, const MapCell& start, const MapCell& cell)
{
    switch (key) {
    case 'F': return (start.Overlays.Fire & 1) == (cell.Overlays.Fire & 1);
    case 'E': return (start.Overlays.Smoke & 1) == (cell.Overlays.Smoke & 1);
    case 'P': return (start.Overlays.Swamp & 1) == (cell.Overlays.Swamp & 1);
    case '.': return (start.Overlays.Road & 1) == (cell.Overlays.Road & 1);
    case ',': return (start.Overlays.River & 1) == (cell.Overlays.River & 1);
    case 'N': return (start.Mines == MineValue) == (cell.Mines == MineValue);
    default: return start.Ground == cell.Ground && start.Height == cell.Height;
    }
}

// Grows the region from start by whole sweeps of the map until a sweep adds nothing.
HexSet ModelReach(char key, HexAddress start, const HexSet& within)
{
    HexSet reached;
    if (!within.Contains(start))
        return reached;
    reached.Insert(start);
    for (bool grew = true; grew;) {
        grew = false;
        within.ForEach([&](HexAddress hex) {
            if (reached.Contains(hex) ||
                !ModelJoins(key, Cell(start.x, start.y), Cell(hex.x, hex.y)))
                return;
            for (int d = 1; d <= HexDirections; ++d) {
                const HexStep next = HexNeighbour(hex.x, hex.y, d);
                if (next.ok && reached.Contains({next.nx, next.ny})) {
                    reached.Insert(hex);
                    grew = true;
                    return;
                }
            }
        });
    }
    return reached;
}

class FillReachTest : public FreshMap {};

TEST_F(FillReachTest, ReachesWhatGrowingTheRegionReaches)
{
    std::mt19937 random(23);
    const std::string keys = "GHW<>FEP.,N";
    for (int trial = 0; trial < 200; ++trial) {
        FillRandomGrid(random, trial % 3 == 0);
        const char key = keys[static_cast<std::size_t>(trial) % keys.size()];
        const HexSet within = trial % 2 == 0 ? HexSet::All() : RandomHexes(random, 0.7);
        const HexAddress start = RandomHexOfParity(random, trial / 2 % 2);
        const HexSet reach = FillReach(key, start, within);
        ASSERT_EQ(reach, ModelReach(key, start, within)) << "trial " << trial << ", key " << key;
        EXPECT_EQ(reach.Empty(), !within.Contains(start));
    }
}

TEST_F(FillReachTest, SpreadsOverGroundAndHeightOrOverTheToggledFlag)
{
    // Two hexes of woods at height 2 with grass between and beyond, fire on (1, 2).
    for (int y = 1; y <= 3; ++y)
        Cell(1, y).Ground = tcHeavyWoods;
    Cell(1, 2).Height = 2;
    Cell(1, 1).Height = 2;
    Cell(1, 3).Height = 2;
    Cell(1, 2).Overlays.Fire = 1;
    const HexSet column = [] {
        HexSet hexes;
        for (int y = 1; y <= 3; ++y)
            hexes.Insert({1, y});
        return hexes;
    }();

    EXPECT_EQ(FillReach('G', {1, 1}, HexSet::All()), column);
    EXPECT_EQ(FillReach('F', {1, 2}, HexSet::All()).Count(), 1);
    EXPECT_EQ(FillReach('F', {1, 1}, HexSet::All()).Count(), MapHexes - 1);
    // Within the column, (1, 1) has no neighbour without fire.
    EXPECT_EQ(FillReach('F', {1, 1}, column).Count(), 1);
    EXPECT_TRUE(FillReach('G', {1, 1}, HexSet()).Empty());
}

class ApplyKeyAcrossTest : public FreshMap {};

// Sets what a toggling key toggles to on, as the model's own words.
void SetToggled(char key, MapCell& cell, bool on)
{
    if (ToggledOn(key, cell) != on)
        ApplyKeyToCell(key, cell);
}

TEST_F(ApplyKeyAcrossTest, GivesEveryHexTheKeyAndTogglesWhatTheFirstGot)
{
    std::mt19937 random(24);
    const std::string keys = "GWFEP.,N<>";
    for (int trial = 0; trial < 100; ++trial) {
        FillRandomGrid(random, trial % 2 == 0);
        const char key = keys[static_cast<std::size_t>(trial) % keys.size()];
        HexSet hexes = RandomHexes(random, 0.3);
        const HexAddress first = RandomHex(random);
        if (trial % 3 == 0)
            hexes.Insert(first);

        MapGridType expected = MapGrid;
        auto at = [&expected](HexAddress hex) -> MapCell& {
            return expected[static_cast<std::size_t>(hex.x - 1)]
                           [static_cast<std::size_t>(hex.y - 1)];
        };
        ApplyKeyToCell(key, at(first));
        const std::optional<bool> got = ToggledOn(key, at(first));
        hexes.ForEach([&](HexAddress hex) {
            if (hex == first)
                return;
            if (got)
                SetToggled(key, at(hex), *got);
            else
                ApplyKeyToCell(key, at(hex));
        });

        ApplyKeyAcross(key, first, hexes);
        ASSERT_EQ(GridBytes(),
                  QByteArray(reinterpret_cast<const char*>(&expected), sizeof expected))
            << "trial " << trial << ", key " << key;
    }
}

}  // namespace
