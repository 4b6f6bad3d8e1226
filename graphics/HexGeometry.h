#pragma once
// Where the hexes lie on the map image: pixel positions, the hexagon mask, the hex under a
// pixel and the hexes a pointer path enters.

#include "core/HexGrid.h"

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

// Top-left corner of the sprite cell of hex (x, y) on the map image; unchecked.
PixelPoint HexToPixel(int x, int y);

// The centre of the hexagon of hex (x, y) on the map image, about which its shape is
// mirrored; unchecked.
PixelPoint HexCentre(int x, int y);

// Whether pixel (a, b) of a sprite cell belongs to the hexagon.
bool InsideHex(int a, int b);

// The hex whose hexagon holds pixel (px, py) of the map image; none in the bands and notches
// between hexagons and outside the grid.
std::optional<HexAddress> HexAtPixel(int px, int py);

// The hexes a straight pointer path from one pixel to another enters inside the shown area,
// in order, each time it enters one; the hex of the starting pixel is not listed.
std::vector<HexAddress> HexesAlong(PixelPoint from, PixelPoint to, const PixelArea& shown);
