// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/MapSymmetry.h"

#include "core/CellContent.h"
#include "core/MapModel.h"

#include <cstddef>

namespace {

void Count(const MapCell& cell, HalfCounts& half)
{
    ++half.Grounds[cell.Ground];
    const std::uint8_t flags[] = {cell.Overlays.Fire, cell.Overlays.Smoke, cell.Overlays.Swamp,
                                  cell.Overlays.Road, cell.Overlays.River};
    for (std::size_t i = 0; i < std::size(flags); ++i)
        half.Overlays[i] += flags[i] != 0 ? 1 : 0;
    half.MinedHexes += cell.Mines != 0 ? 1 : 0;
    half.MineSum += cell.Mines;
    half.HeightSum += cell.Height;
}

}  // namespace

static_assert(MirrorHex({1, 1}) == HexAddress{32, 32});
static_assert(MirrorHex({16, 16}) == HexAddress{17, 17});

HexSet WithMirrors(const HexSet& hexes, bool withMirrors)
{
    HexSet all = hexes;
    if (withMirrors)
        hexes.ForEach([&all](HexAddress hex) { all.Insert(MirrorHex(hex)); });
    return all;
}

HexSet AsymmetricHexes()
{
    HexSet differing;
    for (int x = 1; x <= WestHalfColumns; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const HexAddress mirror = MirrorHex({x, y});
            if (!SameContent(Cell(x, y), Cell(mirror.x, mirror.y))) {
                differing.Insert({x, y});
                differing.Insert(mirror);
            }
        }
    return differing;
}

std::array<HalfCounts, 2> CountHalves()
{
    std::array<HalfCounts, 2> halves{};
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y)
            Count(Cell(x, y), halves[x <= WestHalfColumns ? 0 : 1]);
    return halves;
}
