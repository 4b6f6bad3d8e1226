// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/HexGrid.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <string>

namespace {

// Which directions from (x, y) stay on the map, as a string of direction digits.
std::string DirectionsOnMap(int x, int y)
{
    std::string found;
    for (int d = 1; d <= 6; ++d)
        if (HexNeighbour(x, y, d).ok)
            found += static_cast<char>('0' + d);
    return found;
}

TEST(HexNeighbour, CornersHaveTwoOrThreeNeighbours)
{
    EXPECT_EQ(DirectionsOnMap(1, 1), "34");
    EXPECT_EQ(DirectionsOnMap(32, 1), "456");
    EXPECT_EQ(DirectionsOnMap(1, 32), "123");
    EXPECT_EQ(DirectionsOnMap(32, 32), "16");
    EXPECT_EQ(HexNeighbour(1, 1, 3), (HexStep{true, 2, 1}));
    EXPECT_EQ(HexNeighbour(1, 1, 4), (HexStep{true, 1, 2}));
    EXPECT_EQ(HexNeighbour(32, 32, 1), (HexStep{true, 32, 31}));
    EXPECT_EQ(HexNeighbour(32, 32, 6), (HexStep{true, 31, 32}));
}

TEST(HexNeighbour, EdgesLoseTheDirectionsThatLeaveTheMap)
{
    EXPECT_EQ(DirectionsOnMap(5, 1), "345");    // top, odd column
    EXPECT_EQ(DirectionsOnMap(6, 1), "23456");  // top, even column sits lower
    EXPECT_EQ(DirectionsOnMap(5, 32), "12356");
    EXPECT_EQ(DirectionsOnMap(6, 32), "126");
    EXPECT_EQ(DirectionsOnMap(1, 10), "1234");
    EXPECT_EQ(DirectionsOnMap(32, 10), "1456");
    EXPECT_EQ(DirectionsOnMap(16, 16), "123456");
}

TEST(HexNeighbour, OffTheMapGivesTheHexItself)
{
    for (const int d : {1, 2, 5, 6})
        EXPECT_EQ(HexNeighbour(1, 1, d), (HexStep{false, 1, 1})) << "direction " << d;
    EXPECT_EQ(HexNeighbour(32, 32, 5), (HexStep{false, 32, 32}));
    EXPECT_EQ(HexNeighbour(10, 10, 0), (HexStep{false, 10, 10}));
    EXPECT_EQ(HexNeighbour(10, 10, 7), (HexStep{false, 10, 10}));
}

TEST(HexNeighbour, SouthEastKeepsTheRowFromOddColumnsOnly)
{
    EXPECT_EQ(HexNeighbour(5, 7, 3), (HexStep{true, 6, 7}));
    EXPECT_EQ(HexNeighbour(6, 7, 3), (HexStep{true, 7, 8}));
}

TEST(TurnDirection, FoldsIntoOneToSix)
{
    EXPECT_EQ(TurnDirection(6, 3), 3);
    EXPECT_EQ(TurnDirection(4, 3), 1);
    EXPECT_EQ(TurnDirection(1, -1), 6);
    EXPECT_EQ(TurnDirection(1, 3), 4);
    EXPECT_EQ(TurnDirection(2, 3), 5);
    EXPECT_EQ(TurnDirection(3, 3), 6);
    for (int d = 1; d <= 6; ++d)
        for (int k = -5; k <= 5; ++k) {
            const int turned = TurnDirection(d, k);
            EXPECT_GE(turned, 1);
            EXPECT_LE(turned, 6);
            EXPECT_EQ((turned - d - k + 12) % 6, 0) << d << " turned by " << k;
        }
}

// Distances are the fewest neighbour steps, as a breadth-first walk over the map finds them.
TEST(HexDistance, IsTheFewestNeighbourStepsFromEveryHexToEveryHex)
{
    for (const HexAddress from : {HexAddress{1, 1}, HexAddress{2, 1}, HexAddress{16, 17},
                                  HexAddress{32, 32}, HexAddress{7, 30}}) {
        std::array<int, std::size_t{MapSize} * MapSize> counted{};
        counted.fill(-1);
        const auto steps = [&counted](int x, int y) -> int& {
            return counted[static_cast<std::size_t>((x - 1) * MapSize + y - 1)];
        };
        steps(from.x, from.y) = 0;
        std::deque<HexAddress> queue{from};
        while (!queue.empty()) {
            const HexAddress hex = queue.front();
            queue.pop_front();
            for (int d = 1; d <= HexDirections; ++d) {
                const HexStep next = HexNeighbour(hex.x, hex.y, d);
                if (next.ok && steps(next.nx, next.ny) < 0) {
                    steps(next.nx, next.ny) = steps(hex.x, hex.y) + 1;
                    queue.push_back({next.nx, next.ny});
                }
            }
        }
        for (int x = 1; x <= MapSize; ++x)
            for (int y = 1; y <= MapSize; ++y) {
                ASSERT_EQ(HexDistance(from, {x, y}), steps(x, y))
                    << from.x << "," << from.y << " to " << x << "," << y;
                ASSERT_EQ(HexDistance({x, y}, from), steps(x, y));
            }
    }
}

TEST(HexDistance, ReachesAddressesOffTheMap)
{
    EXPECT_EQ(HexDistance({1, 1}, {0, 1}), 1);
    EXPECT_EQ(HexDistance({1, 1}, {1, 0}), 1);
    EXPECT_EQ(HexDistance({0, 0}, {-4, 0}), 4);
    EXPECT_EQ(HexDistance({-3, -3}, {-3, -3}), 0);
}

}  // namespace
