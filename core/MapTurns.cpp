// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "core/MapTurns.h"

#include "core/CellContent.h"
#include "core/KeyTable.h"
#include "core/MapModel.h"
#include "core/MapSymmetry.h"

// Each pair of mirrors trades contents once, from its west hex.
void TurnMapHalfway()
{
    for (int x = 1; x <= WestHalfColumns; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const HexAddress mirror = MirrorHex({x, y});
            const MapCell west = Cell(x, y);
            PlaceContent({x, y}, Cell(mirror.x, mirror.y));
            PlaceContent(mirror, west);
        }
}

void MakeMapSymmetric()
{
    for (int x = 1; x <= WestHalfColumns; ++x)
        for (int y = 1; y <= MapSize; ++y)
            PlaceContent(MirrorHex({x, y}), Cell(x, y));
}

void StepAllHeights(int step)
{
    const char key = step > 0 ? '>' : '<';
    for (MapColumn& column : MapGrid)
        for (MapCell& cell : column)
            ApplyKeyToCell(key, cell);
}
