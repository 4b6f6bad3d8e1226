// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/SelectionCommands.h"

#include "editor/EditScope.h"

#include <algorithm>

void SelectAllCommand() { TheEditScope().Select(HexSet::All()); }

void ClearSelection() { TheEditScope().Select(HexSet()); }

void SelectRectangle(PixelPoint from, PixelPoint to, const HexSet& base)
{
    const int left = std::min(from.px, to.px);
    const int right = std::max(from.px, to.px);
    const int top = std::min(from.py, to.py);
    const int bottom = std::max(from.py, to.py);
    HexSet selected = base;
    for (int x = 1; x <= MapSize; ++x)
        for (int y = 1; y <= MapSize; ++y) {
            const PixelPoint centre = HexCentre(x, y);
            if (centre.px >= left && centre.px <= right && centre.py >= top && centre.py <= bottom)
                selected.Insert({x, y});
        }
    TheEditScope().Select(selected);
}

QString SelectionHint()
{
    const int count = TheEditScope().Selection().Count();
    return count == 0 ? QStringLiteral("No hexes selected")
                      : CountedHexes(count) + QStringLiteral(" selected");
}

QString CountedHexes(int count)
{
    return count == 1 ? QStringLiteral("1 hex") : QStringLiteral("%1 hexes").arg(count);
}
