#pragma once
// Random maps for the tests of the grid transforms: contents from small ranges, so that
// neighbours often agree and fills find regions, and now and then bytes only a file brings.

#include "core/HexSet.h"
#include "core/MapModel.h"

#include <cstdint>
#include <random>

// Fills MapGrid with random content; with fileBytes, also padding, Reserved, flags above 1
// and X and Y bytes that name other places.
inline void FillRandomGrid(std::mt19937& random, bool fileBytes)
{
    const auto pick = [&random](int least, int most) {
        return std::uniform_int_distribution<int>(least, most)(random);
    };
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            MapCell& cell = Cell(x, y);
            ResetCell(x, y, pick(0, 2), static_cast<std::uint8_t>(pick(0, 2)));
            cell.Mines = static_cast<std::uint8_t>(pick(0, 3) == 0 ? 10 : 0);
            cell.Overlays = {
                static_cast<std::uint8_t>(pick(0, 1)), static_cast<std::uint8_t>(pick(0, 1)),
                static_cast<std::uint8_t>(pick(0, 1)), static_cast<std::uint8_t>(pick(0, 1)),
                static_cast<std::uint8_t>(pick(0, 1))};
            if (!fileBytes)
                continue;
            cell.Padding1[0] = static_cast<std::uint8_t>(pick(0, 255));
            cell.Padding2 = static_cast<std::uint8_t>(pick(0, 255));
            cell.Reserved = pick(-5, 5);
            if (pick(0, 9) == 0)
                cell.X = static_cast<std::uint8_t>(pick(0, 255));
            if (pick(0, 9) == 0)
                cell.Overlays.Road = 2;
        }
}

// A random set of the map's hexes, each in it with the given chance.
inline HexSet RandomHexes(std::mt19937& random, double chance)
{
    std::bernoulli_distribution in(chance);
    HexSet hexes;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            if (in(random))
                hexes.Insert({x, y});
    return hexes;
}

inline HexAddress RandomHex(std::mt19937& random)
{
    std::uniform_int_distribution<int> coordinate(1, MapSize);
    return {coordinate(random), coordinate(random)};
}

// A hex of the map in a column of the parity asked for.
inline HexAddress RandomHexOfParity(std::mt19937& random, int parity)
{
    HexAddress hex = RandomHex(random);
    if (hex.x % 2 != parity)
        hex.x = hex.x == MapSize ? hex.x - 1 : hex.x + 1;
    return hex;
}

// The cell of hex in a copy of the grid.
inline const MapCell& CellOf(const MapGridType& grid, HexAddress hex)
{
    return grid[static_cast<std::size_t>(hex.x - 1)][static_cast<std::size_t>(hex.y - 1)];
}
