// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/ChangedCells.h"

#include "core/MapModel.h"

namespace {

// A cell with its joins takes about a two-hundredth of a busy map's redraw (render_bench:
// DrawCellWithJoins against RedrawMapBusy).
constexpr int MostCellsDrawnApart = 160;

HexSet WithNeighbours(const HexSet& cells)
{
    HexSet drawn = cells;
    cells.ForEach([&drawn](HexAddress hex) {
        for (int d = 1; d <= HexDirections; ++d) {
            const HexStep next = HexNeighbour(hex.x, hex.y, d);
            if (next.ok)
                drawn.Insert({next.nx, next.ny});
        }
    });
    return drawn;
}

}  // namespace

void ShowChangedCells(const HexSet& cells, EditorView& view)
{
    const HexSet drawn = WithNeighbours(cells);
    if (drawn.Count() > MostCellsDrawnApart) {
        view.RedrawWholeMap();
    } else {
        drawn.ForEach([&view](HexAddress hex) { view.DrawCell(hex.x, hex.y, false); });
        view.RepaintMap();
    }
    if (view.EditingMode())
        view.DrawCursor(CursorX, CursorY);
    view.ShowHexInfo(CursorX, CursorY);
}
