#pragma once
// How fair a two-sided map is: the point mirror of each hex (the map turned 180 degrees about
// its centre), the hexes whose content differs from their mirror's, and what each half of the
// map holds. Turning this grid maps every hex onto another, exactly; a mirror across a
// vertical or horizontal line does not map it onto itself, so there is none here.

#include "core/HexGrid.h"
#include "core/HexSet.h"

#include <array>
#include <cstdint>
#include <vector>

// The west half is columns 1 to 16, the east half 17 to 32; each hex's mirror lies in the
// other half.
inline constexpr int WestHalfColumns = MapSize / 2;

// The hex the turn puts in hex's place: (33 - x, 33 - y). Never hex itself.
constexpr HexAddress MirrorHex(HexAddress hex)
{
    return {MapSize + 1 - hex.x, MapSize + 1 - hex.y};
}

// hexes and, when withMirrors, the mirror of each.
HexSet WithMirrors(const HexSet& hexes, bool withMirrors);

// The hexes of MapGrid whose content differs from their mirror's: both hexes of each pair.
HexSet AsymmetricHexes();

// What one half of the map holds.
struct HalfCounts {
    // Hexes of each ground code.
    std::array<int, 256> Grounds{};
    // Hexes with each overlay, by MapOverlay.
    std::array<int, 5> Overlays{};
    int MinedHexes = 0;
    int MineSum = 0;
    std::int64_t HeightSum = 0;
    bool operator==(const HalfCounts&) const = default;
};

// What the west half (index 0) and the east half (index 1) of MapGrid hold.
std::array<HalfCounts, 2> CountHalves();
