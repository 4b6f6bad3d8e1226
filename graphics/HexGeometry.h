#pragma once
// Flat-topped hexes in columns: pixel positions, neighbours, directions, the hexagon mask.

#include <optional>
#include <vector>

inline constexpr int SpriteWidth = 66;
inline constexpr int SpriteHeight = 38;
inline constexpr int ColumnStep = 49;
inline constexpr int RowStep = 40;
inline constexpr int MapImageWidth = 1590;
inline constexpr int MapImageHeight = 1301;

struct PixelPoint {
    int px;
    int py;
    bool operator==(const PixelPoint&) const = default;
};

// A rectangle of the map image: the part a view shows.
struct PixelArea {
    int left;
    int top;
    int width;
    int height;
    bool Contains(PixelPoint p) const
    {
        return p.px >= left && p.px < left + width && p.py >= top && p.py < top + height;
    }
};

struct HexAddress {
    int x;
    int y;
    bool operator==(const HexAddress&) const = default;
};

struct HexStep {
    bool ok;
    int nx;
    int ny;
    bool operator==(const HexStep&) const = default;
};

// Top-left corner of the sprite cell of hex (x, y) on the map image; unchecked.
PixelPoint HexToPixel(int x, int y);

// The hex next to (x, y) in direction d (1 north, clockwise to 6 north-west); off the map
// gives ok false and (x, y) itself.
HexStep HexNeighbour(int x, int y, int d);

// d + k folded into 1 to 6, for d in 1 to 6 and k in -5 to 5.
int TurnDirection(int d, int k);

// Whether pixel (a, b) of a sprite cell belongs to the hexagon.
bool InsideHex(int a, int b);

// The hex whose hexagon holds pixel (px, py) of the map image; none in the bands and notches
// between hexagons and outside the grid.
std::optional<HexAddress> HexAtPixel(int px, int py);

// The hexes a straight pointer path from one pixel to another enters inside the shown area,
// in order, each time it enters one; the hex of the starting pixel is not listed.
std::vector<HexAddress> HexesAlong(PixelPoint from, PixelPoint to, const PixelArea& shown);
