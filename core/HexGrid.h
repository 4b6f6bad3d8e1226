#pragma once
// Addresses on the grid of flat-topped hexes in columns: cells, the six directions,
// neighbours and distances. Odd columns sit half a row higher than even ones.

#include "core/MapModel.h"

inline constexpr int HexDirections = 6;

struct HexAddress {
    int x;
    int y;
    bool operator==(const HexAddress&) const = default;
};

// Cube coordinates: q the column counted from 0, and r and s so that q + r + s = 0. The six
// neighbours of a hex differ from it by one in two of the three, whatever the column's parity,
// so an offset taken here moves a shape without changing its outline.
struct HexCube {
    int q;
    int r;
    int s;
    bool operator==(const HexCube&) const = default;
};

struct HexStep {
    bool ok;
    int nx;
    int ny;
    bool operator==(const HexStep&) const = default;
};

// Whether column x, row y is a cell of the map (both 1 to 32).
constexpr bool IsOnMap(int x, int y) { return x >= 1 && x <= MapSize && y >= 1 && y <= MapSize; }

// The hex next to (x, y) in direction d (1 north, clockwise to 6 north-west); off the map
// gives ok false and (x, y) itself.
HexStep HexNeighbour(int x, int y, int d);

// d + k folded into 1 to 6, for d in 1 to 6 and k in -5 to 5.
int TurnDirection(int d, int k);

// The cube coordinates of a hex, and the hex of cube coordinates; any addresses, on the map or
// not.
HexCube CubeOf(HexAddress hex);
HexAddress HexOfCube(HexCube cube);

// The fewest steps between neighbours that lead from a to b; any addresses, on the map or not.
int HexDistance(HexAddress a, HexAddress b);
