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

// Cube coordinates, in which the six neighbours differ by one in two of the three axes.
struct Cube {
    int q;
    int r;
    int s;
};

// Counted from 0, the columns that sit half a row lower are the odd ones.
Cube CubeOf(HexAddress hex)
{
    const int col = hex.x - 1;
    const int row = hex.y - 1;
    const int q = col;
    const int r = row - (col - (col & 1)) / 2;
    return {q, r, -q - r};
}

}  // namespace

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
    const Cube from = CubeOf(a);
    const Cube to = CubeOf(b);
    return std::max({std::abs(from.q - to.q), std::abs(from.r - to.r), std::abs(from.s - to.s)});
}
