// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "graphics/HexGeometry.h"

#include <algorithm>
#include <cstdlib>

PixelPoint HexToPixel(int x, int y)
{
    return {ColumnStep * (x - 1), RowStep * (y - 1) + (x % 2 != 0 ? 2 : 22)};
}

PixelPoint HexCentre(int x, int y)
{
    const PixelPoint corner = HexToPixel(x, y);
    return {corner.px + 33, corner.py + 20};
}

bool InsideHex(int a, int b)
{
    return a >= 0 && a <= 64 && b >= 0 && b <= 38 &&
           std::min(a, 66 - a) + std::min(b, 40 - b) >= 19;
}

std::optional<HexAddress> HexAtPixel(int px, int py)
{
    if (px < 0 || py < 0)
        return std::nullopt;
    // Sprites are wider than the column step, so two columns can reach a pixel; the row step
    // is larger than a sprite's height, so one row of each.
    const int rightmost = px / ColumnStep + 1;
    for (int x = rightmost; x >= rightmost - 1; --x) {
        const int top = HexToPixel(x, 1).py;
        if (py < top)
            continue;
        const int y = (py - top) / RowStep + 1;
        const PixelPoint cell = HexToPixel(x, y);
        const int a = px - cell.px;
        const int b = py - cell.py;
        // InsideHex also admits the row just below the cell, which is the band's.
        if (IsOnMap(x, y) && a < SpriteWidth && b < SpriteHeight && InsideHex(a, b))
            return HexAddress{x, y};
    }
    return std::nullopt;
}

std::vector<HexAddress> HexesAlong(PixelPoint from, PixelPoint to, const PixelArea& shown)
{
    const auto shownHex = [&shown](PixelPoint p) {
        return shown.Contains(p) ? HexAtPixel(p.px, p.py) : std::nullopt;
    };
    std::vector<HexAddress> entered;
    std::optional<HexAddress> current = shownHex(from);
    const int dx = to.px - from.px;
    const int dy = to.py - from.py;
    // One sample per pixel along the longer axis, so that no hexagon is stepped over.
    const int steps = std::max(std::abs(dx), std::abs(dy));
    for (int i = 1; i <= steps; ++i) {
        const int px = from.px + (dx * i * 2 + (dx < 0 ? -steps : steps)) / (steps * 2);
        const int py = from.py + (dy * i * 2 + (dy < 0 ? -steps : steps)) / (steps * 2);
        const std::optional<HexAddress> hex = shownHex({px, py});
        if (hex && hex != current)
            entered.push_back(*hex);
        current = hex;
    }
    return entered;
}
