// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/HexGrid.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct Offset {
    int dx;
    int dy;
};

// Neighbour offsets for directions 1 to 6, odd columns and even columns.
constexpr Offset OddColumn[HexDirections] = {{0, -1}, {1, -1}, {1, 0}, {0, 1}, {-1, 0}, {-1, -1}};
constexpr Offset EvenColumn[HexDirections] = {{0, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};

// Counted from 0, the columns that sit half a row lower are the odd ones: the rows of column
// q begin this far down the cube's r axis.
int ColumnShift(int q) { return (q - (q & 1)) / 2; }

}  // namespace

HexCube CubeOf(HexAddress hex)
{
    const int q = hex.x - 1;
    const int r = hex.y - 1 - ColumnShift(q);
    return {q, r, -q - r};
}

HexAddress HexOfCube(HexCube cube) { return {cube.q + 1, cube.r + ColumnShift(cube.q) + 1}; }

HexStep HexNeighbour(int x, int y, int d)
{
    if (d < 1 || d > HexDirections)
        return {false, x, y};
    const Offset step = (x % 2 != 0 ? OddColumn : EvenColumn)[d - 1];
    const int nx = x + step.dx;
    const int ny = y + step.dy;
    return IsOnMap(nx, ny) ? HexStep{true, nx, ny} : HexStep{false, x, y};
}

int TurnDirection(int d, int k)
{
    int turned = d + k;
    if (turned > HexDirections)
        turned -= HexDirections;
    if (turned < 1)
        turned += HexDirections;
    return turned;
}

int HexDistance(HexAddress a, HexAddress b)
{
    const HexCube from = CubeOf(a);
    const HexCube to = CubeOf(b);
    return std::max({std::abs(from.q - to.q), std::abs(from.r - to.r), std::abs(from.s - to.s)});
}
