// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/KeyboardEditing.h"

#include "core/KeyTable.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "graphics/HexGeometry.h"

#include <algorithm>
#include <cmath>

namespace {

// The cursor is kept this far inside the view's edges, in map pixels: the band grows with
// the zoom.
constexpr int BandNearEdge = 5;
constexpr int BandFarEdge = 100;

// A length of the map image in the view's pixels.
int InView(int mapPixels, const EditorView& view)
{
    return static_cast<int>(std::lround(mapPixels * view.ViewScale()));
}

void MoveCursorHorz(int step, EditorView& view)
{
    CursorX += step;
    if (NeedsHorzScroll(view))
        view.SetHorzScrollPosition(view.HorzScrollPosition() + InView(step * ColumnStep, view));
}

void MoveCursorVert(int step, EditorView& view)
{
    CursorY += step;
    if (NeedsVertScroll(view))
        view.SetVertScrollPosition(view.VertScrollPosition() + InView(step * RowStep, view));
}

// The cursor keys of the key table.
void MoveCursorByKey(char key, EditorView& view)
{
    const KeyRow* row = FindKey(key);
    if (!row)
        return;
    if (row->Action == KeyAction::MoveCursorHorz)
        MoveCursorHorz(row->Value, view);
    else if (row->Action == KeyAction::MoveCursorVert)
        MoveCursorVert(row->Value, view);
}

// Keys reach the editor only while editing mode is on; the mouse edits with it off too.
void ShowCursorAt(int x, int y, EditorView& view)
{
    if (view.EditingMode())
        view.DrawCursor(x, y);
    view.ShowHexInfo(x, y);
}

// The cursor left (oldX, oldY): that cell is drawn over its mark.
void ShowCursorMove(int oldX, int oldY, EditorView& view)
{
    view.DrawCell(oldX, oldY, true);
    ShowCursorAt(CursorX, CursorY, view);
}

// Road and river joins of the neighbours follow the change of cell (x, y).
void DrawNeighbours(int x, int y, EditorView& view)
{
    for (int d = 1; d <= HexDirections; ++d) {
        const HexStep next = HexNeighbour(x, y, d);
        if (next.ok)
            view.DrawCell(next.nx, next.ny, false);
    }
}

bool OutsideBand(int edge, int scrollPosition, int viewExtent, const EditorView& view)
{
    const int inView = InView(edge, view) - scrollPosition;
    return inView > viewExtent - InView(BandFarEdge, view) || inView < InView(BandNearEdge, view);
}

}  // namespace

void EditorKeyPress(char key, EditorView& view)
{
    const int oldX = CursorX;
    const int oldY = CursorY;
    MoveCursorByKey(key, view);
    CursorX = std::clamp(CursorX, 1, MapSize);
    CursorY = std::clamp(CursorY, 1, MapSize);
    if (CursorX != oldX || CursorY != oldY)
        ShowCursorMove(oldX, oldY, view);
    const MapCell before = EditCursorCell(key, view);
    RecordCellChange(CursorX, CursorY, key, before);
}

MapCell EditCursorCell(char key, EditorView& view)
{
    MapCell& cell = Cell(CursorX, CursorY);
    const MapCell before = cell;
    if (ApplyKeyToCell(key, cell) || IsEditKey(key)) {
        view.DrawCell(CursorX, CursorY, true);
        ShowCursorAt(CursorX, CursorY, view);
    }
    if (ChangesJoins(key)) {
        DrawNeighbours(CursorX, CursorY, view);
        view.RepaintMap();
    }
    if (IsMapKey(key))
        LastMapKey = key;
    return before;
}

void MoveCursorTo(int x, int y, EditorView& view)
{
    if (x == CursorX && y == CursorY) {
        view.ShowHexInfo(x, y);
        return;
    }
    const int oldX = CursorX;
    const int oldY = CursorY;
    CursorX = x;
    CursorY = y;
    ShowCursorMove(oldX, oldY, view);
}

void ShowReplayedCells(std::span<const HexAddress> cells, EditorView& view)
{
    const HexAddress last = cells.back();
    if (last.x != CursorX || last.y != CursorY)
        view.DrawCell(CursorX, CursorY, false);
    CursorX = last.x;
    CursorY = last.y;
    for (const HexAddress& cell : cells)
        view.DrawCell(cell.x, cell.y, false);
    for (const HexAddress& cell : cells)
        DrawNeighbours(cell.x, cell.y, view);
    view.RepaintMap();
    ShowCursorAt(last.x, last.y, view);
}

bool NeedsHorzScroll(const EditorView& view)
{
    return OutsideBand(HexToPixel(CursorX, CursorY).px, view.HorzScrollPosition(), view.ViewWidth(),
                       view);
}

bool NeedsVertScroll(const EditorView& view)
{
    return OutsideBand(HexToPixel(CursorX, CursorY).py, view.VertScrollPosition(),
                       view.ViewHeight(), view);
}

void EditingModeSwitched(bool on, EditorView& view)
{
    if (on) {
        view.DrawCursor(CursorX, CursorY);
        view.SetEditCaption(QStringLiteral("Editing..."));
        view.ShowHexInfo(CursorX, CursorY);
    } else {
        view.DrawCell(CursorX, CursorY, true);
        view.SetEditCaption(QStringLiteral("Edit"));
    }
}
