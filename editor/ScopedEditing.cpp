// Copyright 2026 The Gridcrafter developers
// SPDX-License-Identifier: LicenseRef-Gridcrafter-Proprietary

#include "editor/ScopedEditing.h"

#include "core/HexTransforms.h"
#include "core/KeyTable.h"
#include "core/MapHistory.h"
#include "core/MapModel.h"
#include "editor/ChangedCells.h"
#include "editor/EditScope.h"
#include "editor/KeyboardEditing.h"
#include "editor/MouseEditing.h"

namespace {

HexSet OnlyHex(HexAddress hex)
{
    HexSet hexes;
    hexes.Insert(hex);
    return hexes;
}

// Key given to first, the cursor cell, and to the rest of hexes, as one step.
void ApplyKeyToHexes(char key, HexAddress first, const HexSet& hexes, EditorView& view)
{
    LastMapKey = key;
    HexSet shown = ChangeCells(KeyStepName(key), [&] { ApplyKeyAcross(key, first, hexes); });
    // Drawn also when unchanged, as a key typed on its cell is.
    shown.Insert(first);
    ShowChangedCells(shown, view);
}

}  // namespace

void ScopedKeyPress(char key, EditorView& view)
{
    const EditScope& scope = TheEditScope();
    if (!scope.PointSymmetry() || !IsMapKey(key)) {
        EditorKeyPress(key, view);
        return;
    }
    const HexAddress cursor{CursorX, CursorY};
    ApplyKeyToHexes(key, cursor, scope.Mirrored(OnlyHex(cursor)), view);
}

void ScopedApplyKeyToHex(char key, int x, int y, EditorView& view)
{
    const EditScope& scope = TheEditScope();
    const HexAddress hex{x, y};
    const HexSet hexes =
        scope.Mirrored(scope.Selection().Contains(hex) ? scope.Selection() : OnlyHex(hex));
    if (hexes.Count() == 1) {
        ApplyKeyToHex(key, x, y, view);
        return;
    }
    MoveCursorTo(x, y, view);
    ApplyKeyToHexes(key, hex, hexes, view);
}
