// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/HexTransforms.h"

#include "core/KeyTable.h"

#include <algorithm>
#include <vector>

std::optional<HexAddress> MovedHex(HexAddress hex, HexAddress from, HexAddress to)
{
    const HexCube at = CubeOf(hex);
    const HexCube start = CubeOf(from);
    const HexCube end = CubeOf(to);
    const HexAddress moved =
        HexOfCube({at.q + end.q - start.q, at.r + end.r - start.r, at.s + end.s - start.s});
    if (!IsOnMap(moved.x, moved.y))
        return std::nullopt;
    return moved;
}

HexAddress TopLeftHex(std::span<const HexAddress> hexes)
{
    return *std::min_element(hexes.begin(), hexes.end(), [](HexAddress a, HexAddress b) {
        return a.x != b.x ? a.x < b.x : a.y < b.y;
    });
}

bool FillJoins(char key, const MapCell& start, const MapCell& cell)
{
    if (const std::optional<bool> toggled = ToggledOn(key, start))
        return ToggledOn(key, cell) == toggled;
    return cell.Ground == start.Ground && cell.Height == start.Height;
}

HexSet FillReach(char key, HexAddress start, const HexSet& within)
{
    HexSet reached;
    if (!within.Contains(start))
        return reached;
    // Decided once for each hex rather than once for each of its neighbours.
    const MapCell& first = Cell(start.x, start.y);
    HexSet alike;
    within.ForEach([&](HexAddress hex) {
        if (FillJoins(key, first, Cell(hex.x, hex.y)))
            alike.Insert(hex);
    });
    std::vector<HexAddress> open{start};
    reached.Insert(start);
    while (!open.empty()) {
        const HexAddress hex = open.back();
        open.pop_back();
        for (int d = 1; d <= HexDirections; ++d) {
            const HexStep next = HexNeighbour(hex.x, hex.y, d);
            const HexAddress to{next.nx, next.ny};
            if (next.ok && alike.Contains(to) && !reached.Contains(to)) {
                reached.Insert(to);
                open.push_back(to);
            }
        }
    }
    return reached;
}

void ApplyKeyAcross(char key, HexAddress first, const HexSet& hexes)
{
    MapCell& lead = Cell(first.x, first.y);
    ApplyKeyToCell(key, lead);
    const std::optional<bool> got = ToggledOn(key, lead);
    hexes.ForEach([&](HexAddress hex) {
        MapCell& cell = Cell(hex.x, hex.y);
        if (hex == first || (got && ToggledOn(key, cell) == got))
            return;
        ApplyKeyToCell(key, cell);
    });
}
