// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

// The point mirror as the picture of the map turned about its centre, and the fairness
// measures against counting by hand.

#include "core/MapSymmetry.h"

#include "core/Catalogue.h"
#include "core/KeyTable.h"
#include "tests/core/FreshMap.h"
#include "tests/core/RandomGrid.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Twice the centre of a hex's sprite on the map picture, in whole pixels.
struct Doubled {
    int px;
    int py;
    bool operator==(const Doubled&) const = default;
};

Doubled DoubledCentre(HexAddress hex)
{
    return {2 * 49 * (hex.x - 1) + 66, 2 * (40 * (hex.y - 1) + (hex.x % 2 == 0 ? 22 : 2)) + 40};
}

TEST(MirrorHex, NoHexIsItsOwnMirror)
{
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const HexAddress mirror = MirrorHex({x, y});
            EXPECT_NE(mirror, (HexAddress{x, y}));
            EXPECT_EQ(MirrorHex(mirror), (HexAddress{x, y}));
            EXPECT_NE(x <= WestHalfColumns, mirror.x <= WestHalfColumns);
        }
}

// A turn by 180 degrees: the picture's centre lies halfway between every hex and its mirror,
// and each direction becomes the opposite one.
TEST(MirrorHex, TurnsThePictureOfTheMapAboutItsCentre)
{
    const Doubled centre = DoubledCentre({1, 1});
    const Doubled far = DoubledCentre({32, 32});
    const Doubled sum{centre.px + far.px, centre.py + far.py};
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const Doubled a = DoubledCentre({x, y});
            const Doubled b = DoubledCentre(MirrorHex({x, y}));
            ASSERT_EQ((Doubled{a.px + b.px, a.py + b.py}), sum) << x << "," << y;
            for (int d = 1; d <= HexDirections; ++d) {
                const HexStep next = HexNeighbour(x, y, d);
                if (!next.ok)
                    continue;
                const HexAddress mirror = MirrorHex({x, y});
                const HexAddress nextMirror = MirrorHex({next.nx, next.ny});
                EXPECT_EQ(HexNeighbour(mirror.x, mirror.y, TurnDirection(d, 3)),
                          (HexStep{true, nextMirror.x, nextMirror.y}));
            }
        }
}

class MapSymmetry : public FreshMap {};

TEST_F(MapSymmetry, FindsEachHexThatDiffersFromItsMirrorAndItsMirror)
{
    std::mt19937 random(31);
    for (int trial = 0; trial < 20; ++trial) {
        FillRandomGrid(random, trial % 2 == 0);
        HexSet expected;
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                const MapCell& a = Cell(x, y);
                const MapCell& b = Cell(33 - x, 33 - y);
                if (a.Height != b.Height || a.Ground != b.Ground || a.Mines != b.Mines ||
                    a.Overlays.Fire != b.Overlays.Fire || a.Overlays.Smoke != b.Overlays.Smoke ||
                    a.Overlays.Swamp != b.Overlays.Swamp || a.Overlays.Road != b.Overlays.Road ||
                    a.Overlays.River != b.Overlays.River)
                    expected.Insert({x, y});
            }
        ASSERT_EQ(AsymmetricHexes(), expected);
    }
}

TEST_F(MapSymmetry, PlaceReservedAndPaddingAreNoDifference)
{
    Cell(3, 4).X = 9;
    Cell(3, 4).Reserved = 5;
    Cell(3, 4).Padding2 = 7;
    EXPECT_TRUE(AsymmetricHexes().Empty());
    Cell(3, 4).Overlays.Road = 2;
    Cell(30, 29).Overlays.Road = 1;
    EXPECT_EQ(AsymmetricHexes().Hexes(), (std::vector<HexAddress>{{3, 4}, {30, 29}}));
}

TEST_F(MapSymmetry, CountsWhatEachHalfHolds)
{
    Cell(1, 1).Ground = tcLava;
    Cell(16, 32).Ground = tcLava;
    Cell(17, 1).Ground = tcIce;
    Cell(2, 2).Overlays = {1, 0, 0, 2, 0};
    Cell(20, 2).Overlays.River = 1;
    Cell(5, 5).Mines = 10;
    Cell(32, 32).Mines = 3;
    Cell(32, 31).Mines = 1;
    Cell(4, 4).Height = 6;
    Cell(30, 4).Height = -2;

    const std::array<HalfCounts, 2> halves = CountHalves();

    EXPECT_EQ(halves[0].Grounds[tcLava], 2);
    EXPECT_EQ(halves[0].Grounds[tcGrass], 16 * 32 - 2);
    EXPECT_EQ(halves[1].Grounds[tcIce], 1);
    EXPECT_EQ(halves[1].Grounds[tcGrass], 16 * 32 - 1);
    EXPECT_EQ(halves[0].Overlays, (std::array<int, 5>{1, 0, 0, 1, 0}));
    EXPECT_EQ(halves[1].Overlays, (std::array<int, 5>{0, 0, 0, 0, 1}));
    EXPECT_EQ(halves[0].MinedHexes, 1);
    EXPECT_EQ(halves[1].MinedHexes, 2);
    EXPECT_EQ(halves[0].MineSum, 10);
    EXPECT_EQ(halves[1].MineSum, 4);
    EXPECT_EQ(halves[0].HeightSum, 6);
    EXPECT_EQ(halves[1].HeightSum, -2);
}

TEST(WithMirrors, AddsTheMirrorsOnlyWhenAsked)
{
    HexSet hexes;
    hexes.Insert({1, 2});
    hexes.Insert({32, 31});
    hexes.Insert({5, 5});
    EXPECT_EQ(WithMirrors(hexes, false), hexes);
    EXPECT_EQ(WithMirrors(hexes, true).Hexes(),
              (std::vector<HexAddress>{{1, 2}, {5, 5}, {28, 28}, {32, 31}}));
}

}  // namespace
