#pragma once
// A plain model of moving hexes: shift the picture of the map and see which hex lands where.
// Columns are 49 pixels apart and the even ones sit half a row (20 pixels) lower.

#include "core/HexGrid.h"

#include <optional>

struct PicturePoint {
    int px;
    int py;
};

// Where the centre of a hex lies on the picture; any address, on the map or not.
inline PicturePoint PictureCentre(HexAddress hex)
{
    return {49 * (hex.x - 1), 40 * (hex.y - 1) + (hex.x % 2 == 0 ? 20 : 0)};
}

// The hex of the map centred at p; none when p is no hex's centre or that hex is off the map.
inline std::optional<HexAddress> MapHexCentredAt(PicturePoint p)
{
    if (p.px % 49 != 0)
        return std::nullopt;
    const int x = p.px / 49 + 1;
    const int shifted = p.py - (x % 2 == 0 ? 20 : 0);
    if (shifted % 40 != 0 || !IsOnMap(x, shifted / 40 + 1))
        return std::nullopt;
    return HexAddress{x, shifted / 40 + 1};
}

// Moving an arrangement so that from lands on to shifts its picture by the distance between
// their centres.
inline std::optional<HexAddress> PictureMove(HexAddress hex, HexAddress from, HexAddress to)
{
    const PicturePoint at = PictureCentre(hex);
    const PicturePoint a = PictureCentre(from);
    const PicturePoint b = PictureCentre(to);
    return MapHexCentredAt({at.px + b.px - a.px, at.py + b.py - a.py});
}
