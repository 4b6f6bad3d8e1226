// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/MouseEditing.h"

#include "core/HexGrid.h"
#include "core/KeyTable.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
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

void Paint(Stroke& stroke, HexAddress hex, EditorView& view)
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
