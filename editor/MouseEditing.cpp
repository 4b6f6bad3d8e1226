// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/MouseEditing.h"

#include "core/HexGrid.h"
#include "core/KeyTable.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "core/MapSymmetry.h"
#include "editor/ChangedCells.h"
#include "editor/EditScope.h"
#include "editor/KeyboardEditing.h"

#include <bitset>
#include <cstddef>
#include <optional>

namespace {

struct Stroke {
    // None: the stroke only moves the cursor.
    char Key;
    HexAddress First;
    std::bitset<std::size_t{MapSize} * MapSize> Painted;
    // What the first hex got from a toggling key; the others follow it instead of flickering.
    std::optional<bool> FirstToggle;
};

std::optional<Stroke> Current;

std::size_t Bit(HexAddress hex)
{
    return static_cast<std::size_t>((hex.x - 1) * MapSize + hex.y - 1);
}

void PaintCursorCell(Stroke& stroke, HexAddress hex, EditorView& view)
{
    MoveCursorTo(hex.x, hex.y, view);
    const bool first = stroke.Painted.none();
    stroke.Painted.set(Bit(hex));
    if (!first && stroke.FirstToggle &&
        ToggledOn(stroke.Key, Cell(hex.x, hex.y)) == stroke.FirstToggle)
        return;
    const MapCell before = EditCursorCell(stroke.Key, view);
    if (first)
        stroke.FirstToggle = ToggledOn(stroke.Key, Cell(hex.x, hex.y));
    RecordStrokeCell(hex.x, hex.y, stroke.Key, before);
}

// With point symmetry on, the stroke paints the mirror of each hex it paints, once, a
// toggling key giving it what the first hex got; it joins the stroke's step.
void PaintMirror(Stroke& stroke, HexAddress hex, EditorView& view)
{
    const HexAddress mirror = MirrorHex(hex);
    if (!TheEditScope().PointSymmetry() || stroke.Painted.test(Bit(mirror)))
        return;
    stroke.Painted.set(Bit(mirror));
    MapCell& cell = Cell(mirror.x, mirror.y);
    if (stroke.FirstToggle && ToggledOn(stroke.Key, cell) == stroke.FirstToggle)
        return;
    const MapCell before = cell;
    ApplyKeyToCell(stroke.Key, cell);
    HexSet changed;
    changed.Insert(mirror);
    ShowChangedCells(changed, view);
    RecordStrokeCell(mirror.x, mirror.y, stroke.Key, before);
}

void Paint(Stroke& stroke, HexAddress hex, EditorView& view)
{
    PaintCursorCell(stroke, hex, view);
    PaintMirror(stroke, hex, view);
}

}  // namespace

void ApplyKeyToHex(char key, int x, int y, EditorView& view)
{
    MoveCursorTo(x, y, view);
    const MapCell before = EditCursorCell(key, view);
    RecordCellChange(x, y, key, before);
}

void BeginStroke(int x, int y, EditorView& view)
{
    // A release lost to a grab elsewhere leaves a stroke open.
    EndStroke();
    MoveCursorTo(x, y, view);
    Current = Stroke{view.EditingMode() ? LastMapKey : '\0', {x, y}, {}, std::nullopt};
}

void StrokeEnters(int x, int y, EditorView& view)
{
    if (!Current || (x == CursorX && y == CursorY))
        return;
    Stroke& stroke = *Current;
    const HexAddress hex{x, y};
    if (stroke.Key == '\0' || stroke.Painted.test(Bit(hex))) {
        MoveCursorTo(x, y, view);
        return;
    }
    if (stroke.Painted.none())
        Paint(stroke, stroke.First, view);
    Paint(stroke, hex, view);
}

void EndStroke()
{
    Current.reset();
    EndStrokeStep();
}
